// tinkettles-music: renders a module file to a WAV file exactly as the demo plays it.
#include "sound/music_render.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Arguments {
    std::int32_t mode = 2;
    double seconds = 0;          // 0 = not given
    std::int32_t orders = 25;
    const char* module_path = nullptr;
    const char* wav_path = nullptr;
};

int usage()
{
    std::fprintf(stderr,
                 "usage: tinkettles-music [--mode 1|2] [--seconds S | --orders N] MODULE OUT.wav\n"
                 "  --mode 2     44100 Hz, 16-bit (the default); --mode 1: 22050 Hz, 8-bit\n"
                 "  --seconds S  render S seconds of music\n"
                 "  --orders N   render until order position N is reached or the song wraps\n"
                 "               to its restart position (the default: N = 25)\n");
    return 2;
}

bool parse_number(const char* text, double* value)
{
    char* end = nullptr;
    errno = 0;
    *value = std::strtod(text, &end);
    return errno == 0 && end != text && *end == '\0' && std::isfinite(*value);
}

bool parse_option(const char* name, const char* text, Arguments* arguments, bool* seen_length)
{
    double value = 0;
    if (std::strcmp(name, "--mode") == 0) {
        if (std::strcmp(text, "1") != 0 && std::strcmp(text, "2") != 0)
            return false;
        arguments->mode = text[0] - '0';
        return true;
    }
    const bool seconds = std::strcmp(name, "--seconds") == 0;
    const bool orders = std::strcmp(name, "--orders") == 0;
    if ((!seconds && !orders) || *seen_length || !parse_number(text, &value))
        return false;
    *seen_length = true;
    if (seconds) {
        // Up to a day; a WAV file's 4 GiB limit comes first at either rate.
        arguments->seconds = value;
        return value > 0 && value <= 86400;
    }
    arguments->orders = static_cast<std::int32_t>(value);
    return value >= 1 && value <= 128 && value == std::floor(value);
}

bool parse_arguments(int argc, char** argv, Arguments* arguments)
{
    bool seen_length = false;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--", 2) == 0) {
            if (i + 1 >= argc || !parse_option(arg, argv[i + 1], arguments, &seen_length))
                return false;
            ++i;
        } else if (positional == 0) {
            arguments->module_path = arg;
            ++positional;
        } else if (positional == 1) {
            arguments->wav_path = arg;
            ++positional;
        } else {
            return false;
        }
    }
    return positional == 2;
}

const char* describe(RenderEnd end)
{
    switch (end) {
    case RenderEnd::order_reached: return "the order limit was reached";
    case RenderEnd::song_wrapped: return "the song wrapped to its restart position";
    case RenderEnd::time_cap: return "an hour of audio passed without the song ending";
    default: return "the time asked for was rendered";
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!parse_arguments(argc, argv, &arguments))
        return usage();

    RenderRequest request;
    request.mode = arguments.mode;
    request.order_limit = arguments.orders;
    request.show_progress = true;
    if (arguments.seconds > 0)
        request.sample_limit = static_cast<std::int64_t>(arguments.seconds * (arguments.mode == 1 ? 22050 : 44100));

    // Kept until exit: the loader rewrites it in place and the voices play from it.
    static std::uint8_t module[module_buffer_bytes];
    std::size_t size = 0;
    if (!read_module_file("tinkettles-music", arguments.module_path, module, &size))
        return 1;
    std::FILE* out = std::fopen(arguments.wav_path, "wb");
    if (!out) {
        std::fprintf(stderr, "tinkettles-music: cannot create %s: %s\n", arguments.wav_path,
                     std::strerror(errno));
        return 1;
    }
    RenderResult result;
    const bool rendered = render_music(module, size, out, request, &result);
    const bool closed = std::fclose(out) == 0;
    if (!rendered || !closed) {
        if (rendered)
            std::fprintf(stderr, "tinkettles-music: cannot write %s\n", arguments.wav_path);
        std::remove(arguments.wav_path);
        return 1;
    }
    std::fprintf(stderr, "tinkettles-music: wrote %s (%lld samples; %s)\n", arguments.wav_path,
                 static_cast<long long>(result.samples), describe(result.end));
    return 0;
}
