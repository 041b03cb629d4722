#include "capture_options.h"

#include "command_line.h"
#include "frame/main_loop.h"
#include "frame/scene_facts.h"
#include "scaled_screen.h"

#include <cmath>
#include <cstring>

const char* const capture_program = "tinkettles-capture";

const char* const capture_usage =
    "usage: tinkettles-capture [--fps N] [--from P] [--to Q] [--scene N] [--scale S]\n"
    "                          [--png-dir DIR] [--y4m FILE|-] [--wav FILE] [--mp4 FILE]\n"
    "                          [--log FILE] [--contact-sheet FILE.png] [--data DIR]\n"
    "                          [--flash-report FILE.csv] [--flash-plot FILE.png] [--calm]\n"
    "                          [--warning-card]\n"
    "Renders the demo offline, with its data found as the demo finds it. At least one\n"
    "output.\n"
    "  --fps N            frames per second, 1 to 1000 (default 60)\n"
    "  --from P, --to Q   only the frames from music position P (order x 100 + row)\n"
    "                     up to, not including, position Q; the demo is still\n"
    "                     played from the start, so the frames are the whole capture's\n"
    "  --scene N          only scene N, 1 to 10\n"
    "  --scale S          frames S times 640x480, S whole or a half from 1 to 4.5;\n"
    "                     whole: every screen pixel an SxS square (3: 1920x1440);\n"
    "                     4.5: 2880x2160, each picture row 4 bright rows, one\n"
    "                     between, 4 dimmed (docs/video.md)\n"
    "  --png-dir DIR      frames DIR/frame-000000.png ..., numbered as in the\n"
    "                     whole capture (DIR is made; its parent must exist)\n"
    "  --y4m FILE|-       YUV4MPEG2 4:2:0 stream, '-' for standard output\n"
    "  --wav FILE         the music, 44100 Hz 16-bit mono, as long as the frames\n"
    "  --mp4 FILE         H.264 High and 48 kHz AAC video for uploading, made with\n"
    "                     ffmpeg (must be on PATH)\n"
    "  --log FILE         per frame: frame demo_time position scene\n"
    "  --contact-sheet F  one labelled thumbnail from the middle of each scene\n"
    "  --flash-report F   flash analysis, one CSV row per second; a summary on\n"
    "                     standard error (docs/flashes.md explains the columns)\n"
    "  --flash-plot F     PNG plot of the flashing share of the worst 10-degree field\n"
    "  --calm             frames as 'tinkettles --calm' shows them, flashes held back\n"
    "  --warning-card     the MP4 opens with 5 s of a flash warning; the music waits\n"
    "  --data DIR         the data folder (default: $TINKETTLES_DATA, else data/,\n"
    "                     else ../share/tinkettles/data beside the program)\n"
    "  --help, --version\n";

namespace {

struct PathOption {
    const char* name;
    const char* CaptureOptions::*field;
};

constexpr PathOption path_options[] = {
    {"--png-dir", &CaptureOptions::png_dir},       {"--y4m", &CaptureOptions::y4m_file},
    {"--wav", &CaptureOptions::wav_file},          {"--mp4", &CaptureOptions::mp4_file},
    {"--log", &CaptureOptions::log_file},          {"--contact-sheet", &CaptureOptions::contact_sheet},
    {"--data", &CaptureOptions::data_folder},      {"--flash-report", &CaptureOptions::flash_report},
    {"--flash-plot", &CaptureOptions::flash_plot},
};

constexpr std::int32_t rows_per_pattern = 64;

bool take_path(CommandLine* line, const PathOption& option, CaptureOptions* options)
{
    const char* value = nullptr;
    if (!option_text(line, option.name, &value))
        return false;
    if (options->*option.field)
        return usage_error(line, "%s given twice", option.name);
    if (*value == '\0')
        return usage_error(line, "empty file name after %s", option.name);
    if (std::strcmp(value, "-") == 0 && option.field != &CaptureOptions::y4m_file)
        return usage_error(line, "only --y4m can write to standard output, not %s", option.name);
    options->*option.field = value;
    return true;
}

// A music position as the player reaches it: order 0..25, row 0..63.
bool take_position(CommandLine* line, const char* name, bool* given, std::int32_t* position)
{
    std::int64_t value = 0;
    if (*given)
        return usage_error(line, "%s given twice", name);
    if (!option_integer(line, name, 0, final_position, &value))
        return false;
    if (value % 100 >= rows_per_pattern)
        return usage_error(line, "%s %lld is not a music position: row %lld is past row 63", name,
                           static_cast<long long>(value), static_cast<long long>(value % 100));
    *position = static_cast<std::int32_t>(value);
    *given = true;
    return true;
}

// A scale of whole or half steps, as the output pixels per picture pixel.
bool take_scale(CommandLine* line, bool* given, int* block)
{
    double scale = 0;
    if (*given)
        return usage_error(line, "--scale given twice");
    if (!option_number(line, "--scale", 1, false, largest_block / 2.0, &scale))
        return false;
    if (scale * 2 != std::floor(scale * 2))
        return usage_error(line, "--scale %g is neither whole nor a half (1, 1.5, 2 ... 4.5)", scale);
    *block = static_cast<int>(scale * 2);
    *given = true;
    return true;
}

bool read_options(CommandLine* line, CaptureOptions* options, std::int64_t* scene)
{
    bool fps_given = false, from_given = false, to_given = false, scale_given = false;
    const char* argument = nullptr;
    bool is_option = false;
    while (next_argument(line, &argument, &is_option)) {
        if (!is_option)
            return usage_error(line, "unexpected argument %s", argument);
        const PathOption* match = nullptr;
        for (const PathOption& option : path_options)
            if (std::strcmp(argument, option.name) == 0)
                match = &option;
        std::int64_t value = 0;
        if (match) {
            if (!take_path(line, *match, options))
                return false;
        } else if (std::strcmp(argument, "--calm") == 0) {
            if (options->calm)
                return usage_error(line, "--calm given twice");
            options->calm = true;
        } else if (std::strcmp(argument, "--warning-card") == 0) {
            if (options->warning_card)
                return usage_error(line, "--warning-card given twice");
            options->warning_card = true;
        } else if (std::strcmp(argument, "--fps") == 0) {
            if (fps_given)
                return usage_error(line, "--fps given twice");
            if (!option_integer(line, "--fps", 1, max_fps, &value))
                return false;
            options->fps = static_cast<int>(value);
            fps_given = true;
        } else if (std::strcmp(argument, "--from") == 0) {
            if (!take_position(line, "--from", &from_given, &options->from_position))
                return false;
        } else if (std::strcmp(argument, "--to") == 0) {
            if (!take_position(line, "--to", &to_given, &options->to_position))
                return false;
        } else if (std::strcmp(argument, "--scale") == 0) {
            if (!take_scale(line, &scale_given, &options->pixel_block))
                return false;
        } else if (std::strcmp(argument, "--scene") == 0) {
            if (*scene != 0)
                return usage_error(line, "--scene given twice");
            if (!option_integer(line, "--scene", 1, scene_count, scene))
                return false;
        } else {
            return unknown_option(line, argument);
        }
    }
    if (line->status >= 0)
        return false;
    if (*scene != 0 && (from_given || to_given))
        return usage_error(line, "--scene chooses the positions itself; give it without --from and --to");
    if (from_given && to_given && options->to_position <= options->from_position)
        return usage_error(line, "--to %d must come after --from %d", options->to_position,
                           options->from_position);
    if (options->warning_card && !options->mp4_file)
        return usage_error(line, "--warning-card goes at the start of an --mp4 video; give --mp4 FILE");
    const bool any_output = options->png_dir || options->y4m_file || options->wav_file || options->mp4_file ||
                            options->log_file || options->contact_sheet || options->flash_report ||
                            options->flash_plot;
    if (!any_output)
        return usage_error(line,
                           "nothing to write: give at least one of --png-dir, --y4m, --wav, "
                           "--mp4, --log, --contact-sheet, --flash-report, --flash-plot");
    if (scale_given && !(options->png_dir || options->y4m_file || options->mp4_file))
        return usage_error(line, "--scale sizes the frames of --png-dir, --y4m and --mp4; give one of them");
    return true;
}

}   // namespace

void scene_positions(std::int32_t scene, std::int32_t* from, std::int32_t* to)
{
    *from = scene == 1 ? part_open_start : scene_spans[scene - 1].first;
    *to = scene == scene_count ? part_open_end : scene_spans[scene - 1].end;
}

bool parse_capture_options(int argc, char** argv, CaptureOptions* options, int* status)
{
    *options = CaptureOptions{};
    options->fps = default_fps;
    options->from_position = part_open_start;
    options->to_position = part_open_end;
    options->pixel_block = screen_block;
    CommandLine line = start_command_line(capture_program, capture_usage, argc, argv);
    std::int64_t scene = 0;
    if (!read_options(&line, options, &scene)) {
        *status = line.status;
        return false;
    }
    if (scene != 0)
        scene_positions(static_cast<std::int32_t>(scene), &options->from_position, &options->to_position);
    return true;
}
