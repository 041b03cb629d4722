#include "capture_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

struct PathOption {
    const char* name;
    const char* CaptureOptions::*field;
};

constexpr PathOption path_options[] = {
    {"--png-dir", &CaptureOptions::png_dir},   {"--y4m", &CaptureOptions::y4m_file},
    {"--wav", &CaptureOptions::wav_file},      {"--mp4", &CaptureOptions::mp4_file},
    {"--log", &CaptureOptions::log_file},      {"--contact-sheet", &CaptureOptions::contact_sheet},
    {"--data", &CaptureOptions::data_folder},
};

bool parse_fps(const char* text, int* fps)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > max_fps)
        return false;
    *fps = static_cast<int>(value);
    return true;
}

bool complain(const char* what, const char* argument)
{
    std::fprintf(stderr, "tinkettles-capture: %s: %s\n", what, argument);
    return false;
}

}  // namespace

bool parse_capture_options(int argc, const char* const* argv, CaptureOptions* options)
{
    *options = CaptureOptions{default_fps, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr};
    bool fps_given = false;
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        const bool is_fps = std::strcmp(name, "--fps") == 0;
        const PathOption* match = nullptr;
        for (const PathOption& option : path_options)
            if (std::strcmp(name, option.name) == 0)
                match = &option;
        if (!is_fps && !match)
            return complain("unknown argument", name);
        if (i + 1 >= argc)
            return complain("missing value after", name);
        const char* value = argv[++i];
        if (is_fps) {
            if (fps_given)
                return complain("given twice", name);
            if (!parse_fps(value, &options->fps))
                return complain("--fps wants a whole number from 1 to 1000, not", value);
            fps_given = true;
            continue;
        }
        if (options->*match->field)
            return complain("given twice", name);
        if (*value == '\0')
            return complain("empty file name after", name);
        if (std::strcmp(value, "-") == 0 && match->field != &CaptureOptions::y4m_file)
            return complain("only --y4m can write to standard output, not", name);
        options->*match->field = value;
    }
    return true;
}

void print_capture_usage(std::FILE* out)
{
    std::fputs(
        "usage: tinkettles-capture [--fps N] [--png-dir DIR] [--y4m FILE|-] [--wav FILE]\n"
        "                          [--mp4 FILE] [--log FILE] [--contact-sheet FILE.png]\n"
        "                          [--data DIR]\n"
        "Renders the whole demo offline, with its data found as the demo finds it.\n"
        "  --fps N            frames per second, 1 to 1000 (default 60)\n"
        "  --png-dir DIR      numbered 640x480 frames DIR/frame-000000.png ...\n"
        "  --y4m FILE|-       YUV4MPEG2 4:2:0 stream, '-' for standard output\n"
        "  --wav FILE         the music, 44100 Hz 16-bit mono, as long as the frames\n"
        "  --mp4 FILE         H.264/AAC video made with ffmpeg (must be on PATH)\n"
        "  --log FILE         per frame: frame demo_time position scene\n"
        "  --contact-sheet F  one labelled thumbnail from the middle of each scene\n"
        "  --data DIR         the data folder (default: $TINKETTLES_DATA, else data/,\n"
        "                     else ../share/tinkettles/data beside the program)\n",
        out);
}
