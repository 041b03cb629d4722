#include "flash_report.h"

#include <algorithm>
#include <cstring>

namespace {

int seconds_analysed(const FlashAnalysis& analysis)
{
    return analysis.started ? analysis.last_second - analysis.first_second + 1 : 0;
}

// A share of `area` in tenths of a percent, rounded down, as "12.3".
std::string percent(std::int32_t pixels, std::int32_t area)
{
    const std::int64_t tenths = std::int64_t{pixels} * 1000 / area;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

const char* result_of(const FlashSecond& second)
{
    const bool general = fails_general(second), red = fails_red(second);
    return general && red ? "general+red" : general ? "general" : red ? "red" : "pass";
}

void paint(std::uint8_t* rgb, int width, int x, int y, std::uint32_t colour)
{
    std::uint8_t* pixel = rgb + 3 * (y * width + x);
    pixel[0] = static_cast<std::uint8_t>(colour >> 16);
    pixel[1] = static_cast<std::uint8_t>(colour >> 8);
    pixel[2] = static_cast<std::uint8_t>(colour);
}

// The plot's row for a share of the field, 0 at the bottom.
int plot_row(std::int32_t pixels)
{
    const std::int64_t height = std::int64_t{pixels} * (flash_plot_height - 1) / field_area;
    return flash_plot_height - 1 - static_cast<int>(height);
}

}   // namespace

bool write_flash_csv(std::FILE* file, const FlashAnalysis& analysis)
{
    bool ok = std::fputs(
                  "second,frames,transitions,screen_percent,field_percent,red_transitions,"
                  "red_screen_percent,red_field_percent,result\n",
                  file) >= 0;
    for (int i = 0; ok && i < seconds_analysed(analysis); ++i) {
        const FlashSecond& s = analysis.seconds[i];
        ok = std::fprintf(file, "%d,%d,%d,%s,%s,%d,%s,%s,%s\n", analysis.first_second + i, s.frames,
                          s.most_transitions, percent(s.screen_pixels, screen_area).c_str(),
                          percent(s.field_pixels, field_area).c_str(), s.most_red_transitions,
                          percent(s.red_screen_pixels, screen_area).c_str(),
                          percent(s.red_field_pixels, field_area).c_str(), result_of(s)) > 0;
    }
    return ok;
}

int failing_seconds(const FlashAnalysis& analysis)
{
    int failing = 0;
    for (int i = 0; i < seconds_analysed(analysis); ++i)
        failing += fails_general(analysis.seconds[i]) || fails_red(analysis.seconds[i]);
    return failing;
}

std::string flash_summary(const FlashAnalysis& analysis)
{
    const int seconds = seconds_analysed(analysis);
    int general = 0, red = 0, worst = 0;
    std::int32_t worst_pixels = 0;
    for (int i = 0; i < seconds; ++i) {
        const FlashSecond& s = analysis.seconds[i];
        general += fails_general(s);
        red += fails_red(s);
        const std::int32_t pixels = std::max(s.field_pixels, s.red_field_pixels);
        if (pixels > worst_pixels) {
            worst_pixels = pixels;
            worst = i;
        }
    }
    const int failing = failing_seconds(analysis);
    const std::string count = std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
    if (failing == 0)
        return (seconds == 1 ? "the " : "all ") + count + " pass the flash limits";
    return std::to_string(failing) + " of " + count + " fail the flash limits (" + std::to_string(general) +
           " general, " + std::to_string(red) + " red); the worst, second " +
           std::to_string(analysis.first_second + worst) + ", flashes over " +
           percent(worst_pixels, field_area) + "% of a 10-degree field";
}

int flash_plot_width(const FlashAnalysis& analysis)
{
    return std::max(1, seconds_analysed(analysis)) * flash_plot_column;
}

void draw_flash_plot(const FlashAnalysis& analysis, std::uint8_t* rgb)
{
    const int width = flash_plot_width(analysis);
    std::memset(rgb, 0xff, static_cast<std::size_t>(3) * width * flash_plot_height);
    for (int i = 0; i < seconds_analysed(analysis); ++i) {
        const FlashSecond& s = analysis.seconds[i];
        const int general_top = plot_row(s.field_pixels), red_top = plot_row(s.red_field_pixels);
        for (int x = i * flash_plot_column; x < (i + 1) * flash_plot_column; ++x) {
            if (s.field_pixels > 0)
                for (int y = general_top; y < flash_plot_height; ++y)
                    paint(rgb, width, x, y, 0xf0a030);
            if (s.red_field_pixels > 0)
                for (int y = red_top; y < flash_plot_height; ++y)
                    paint(rgb, width, x, y, 0xd02020);
            if ((analysis.first_second + i) % 10 == 0 && x == i * flash_plot_column)
                for (int y = flash_plot_height - 8; y < flash_plot_height; ++y)
                    paint(rgb, width, x, y, 0x000000);
        }
    }
    const int limit_row = plot_row(field_limit);
    for (int x = 0; x < width; ++x)
        paint(rgb, width, x, limit_row, 0x606060);
}
