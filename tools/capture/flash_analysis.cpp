#include "flash_analysis.h"

#include "frame/flash_rules.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

// The two levels of one cell: their trackers and the moments of their latest
// transitions, oldest first from `first`.
struct FlashCell {
    std::uint32_t colour;       // the last frame's
    SwingTracker trackers[2];   // luminance, red
    std::uint8_t first[2];
    std::uint8_t count[2];
    std::int32_t times[2][remembered_transitions];
};

namespace {

constexpr int cell_count = flash_cell_columns * flash_cell_rows;
constexpr int sum_columns = flash_cell_columns + 1;
constexpr int sum_rows = flash_cell_rows + 1;
constexpr std::uint8_t flashing_general = 1;
constexpr std::uint8_t flashing_red = 2;

// Counts one transition at `time_ms` and forgets those the window has left; returns
// how many lie in (time_ms - 1000, time_ms].
int count_transitions(FlashCell* cell, int level, bool swung, std::int32_t time_ms)
{
    std::uint8_t& first = cell->first[level];
    std::uint8_t& count = cell->count[level];
    std::int32_t* times = cell->times[level];
    while (count > 0 && times[first] <= time_ms - flash_window_ms) {
        first = static_cast<std::uint8_t>((first + 1) % remembered_transitions);
        --count;
    }
    if (swung) {
        if (count == remembered_transitions) {   // the oldest makes way; the count stays full
            first = static_cast<std::uint8_t>((first + 1) % remembered_transitions);
            --count;
        }
        times[(first + count) % remembered_transitions] = time_ms;
        ++count;
    }
    return count;
}

// The most flashing screen pixels inside one field of field_cell_columns x
// field_cell_rows cells, for the cells whose flags hold `which`.
std::int32_t worst_field(FlashAnalysis* analysis, std::uint8_t which)
{
    std::int32_t* sums = analysis->field_sums;
    for (int x = 0; x < sum_columns; ++x)
        sums[x] = 0;
    for (int y = 0; y < flash_cell_rows; ++y) {
        std::int32_t row = 0;
        std::int32_t* line = sums + (y + 1) * sum_columns;
        const std::int32_t* above = line - sum_columns;
        const std::uint8_t* flags = analysis->flashing + y * flash_cell_columns;
        line[0] = 0;
        for (int x = 0; x < flash_cell_columns; ++x) {
            row += (flags[x] & which) != 0;
            line[x + 1] = above[x + 1] + row;
        }
    }
    std::int32_t most = 0;
    for (int y = 0; y + field_cell_rows <= flash_cell_rows; ++y) {
        const std::int32_t* top = sums + y * sum_columns;
        const std::int32_t* bottom = top + field_cell_rows * sum_columns;
        for (int x = 0; x + field_cell_columns <= flash_cell_columns; ++x) {
            const std::int32_t inside =
                bottom[x + field_cell_columns] - bottom[x] - top[x + field_cell_columns] + top[x];
            most = std::max(most, inside);
        }
    }
    return 2 * most;
}

FlashSecond& second_of(FlashAnalysis* analysis, std::int32_t time_ms)
{
    const std::int32_t second = time_ms / 1000;
    if (!analysis->started) {
        analysis->started = true;
        analysis->first_second = second;
    }
    const std::int32_t last = analysis->first_second + max_flash_seconds - 1;
    analysis->last_second = std::min(second, last);   // later frames join the last second
    return analysis->seconds[analysis->last_second - analysis->first_second];
}

}   // namespace

bool start_flash_analysis(FlashAnalysis* analysis)
{
    std::memset(analysis, 0, sizeof *analysis);
    analysis->cells = static_cast<FlashCell*>(std::calloc(cell_count, sizeof(FlashCell)));
    analysis->flashing = static_cast<std::uint8_t*>(std::calloc(cell_count, 1));
    analysis->field_sums =
        static_cast<std::int32_t*>(std::calloc(sum_columns * sum_rows, sizeof(std::int32_t)));
    if (analysis->cells && analysis->flashing && analysis->field_sums)
        return true;
    end_flash_analysis(analysis);
    return false;
}

void end_flash_analysis(FlashAnalysis* analysis)
{
    std::free(analysis->cells);
    std::free(analysis->flashing);
    std::free(analysis->field_sums);
    analysis->cells = nullptr;
    analysis->flashing = nullptr;
    analysis->field_sums = nullptr;
}

void analyse_flash_frame(FlashAnalysis* analysis, const std::uint32_t* picture, std::size_t pitch,
                         std::int32_t time_ms)
{
    const bool first_frame = !analysis->started;
    FlashSecond& second = second_of(analysis, time_ms);
    ++second.frames;
    std::int32_t flashing[2] = {0, 0};
    int most[2] = {0, 0};
    std::uint32_t last_colour = picture[0];
    FlashLevels levels = flash_levels(last_colour);
    for (int y = 0; y < flash_cell_rows; ++y) {
        const std::uint32_t* row = picture + y * pitch;
        FlashCell* cells = analysis->cells + y * flash_cell_columns;
        std::uint8_t* flags = analysis->flashing + y * flash_cell_columns;
        for (int x = 0; x < flash_cell_columns; ++x) {
            FlashCell* cell = &cells[x];
            // A colour that stays moves no tracker: with no transition in its window
            // the cell has nothing to do.
            if (row[2 * x] == cell->colour && !first_frame && cell->count[0] == 0 && cell->count[1] == 0) {
                flags[x] = 0;
                continue;
            }
            cell->colour = row[2 * x];
            // Neighbours mostly share a colour: its levels are looked up once.
            if (row[2 * x] != last_colour) {
                last_colour = row[2 * x];
                levels = flash_levels(last_colour);
            }
            if (first_frame) {
                cell->trackers[0] = start_swing(levels.luminance);
                cell->trackers[1] = start_swing(levels.red);
            }
            const bool swung =
                next_swing(&cell->trackers[0], levels.luminance, luminance_step, darker_below) != 0;
            const bool red_swung = next_swing(&cell->trackers[1], levels.red, red_step, no_darker_limit) != 0;
            std::uint8_t flag = 0;
            if (swung || cell->count[0] > 0) {
                const int count = count_transitions(cell, 0, swung, time_ms);
                most[0] = std::max(most[0], count);
                flag |= count >= failing_transitions ? flashing_general : 0;
            }
            if (red_swung || cell->count[1] > 0) {
                const int count = count_transitions(cell, 1, red_swung, time_ms);
                most[1] = std::max(most[1], count);
                flag |= count >= failing_transitions ? flashing_red : 0;
            }
            flags[x] = flag;
            flashing[0] += (flag & flashing_general) != 0;
            flashing[1] += (flag & flashing_red) != 0;
        }
    }
    second.most_transitions = std::max(second.most_transitions, most[0]);
    second.most_red_transitions = std::max(second.most_red_transitions, most[1]);
    second.screen_pixels = std::max(second.screen_pixels, 2 * flashing[0]);
    second.red_screen_pixels = std::max(second.red_screen_pixels, 2 * flashing[1]);
    if (flashing[0] > 0)
        second.field_pixels = std::max(second.field_pixels, worst_field(analysis, flashing_general));
    if (flashing[1] > 0)
        second.red_field_pixels = std::max(second.red_field_pixels, worst_field(analysis, flashing_red));
}

bool fails_general(const FlashSecond& second)
{
    return second.field_pixels > field_limit;
}

bool fails_red(const FlashSecond& second)
{
    return second.red_field_pixels > field_limit;
}
