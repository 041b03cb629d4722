// tinkettles-music: renders a module file to a WAV file exactly as the demo plays it.
#include "command_line.h"
#include "failed_output.h"
#include "sound/module_file.h"
#include "sound/music_render.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

constexpr const char* program = "tinkettles-music";

const char usage[] =
    "usage: tinkettles-music [--mode 1|2] [--seconds S | --orders N] MODULE OUT.wav\n"
    "  --mode 2     44100 Hz, 16-bit (the default); --mode 1: 22050 Hz, 8-bit\n"
    "  --seconds S  render S seconds of music (up to a day)\n"
    "  --orders N   render until order position N (1 to 128) is reached or the song\n"
    "               wraps to its restart position (the default: N = 25)\n"
    "  --help, --version\n";

struct Arguments {
    std::int32_t mode = 2;
    double seconds = 0;   // 0 = not given
    std::int32_t orders = 25;
    const char* module_path = nullptr;
    const char* wav_path = nullptr;
};

bool read_arguments(CommandLine* line, Arguments* arguments)
{
    bool seen_length = false;
    const char* argument = nullptr;
    bool is_option = false;
    while (next_argument(line, &argument, &is_option)) {
        std::int64_t value = 0;
        if (!is_option) {
            if (!arguments->module_path)
                arguments->module_path = argument;
            else if (!arguments->wav_path)
                arguments->wav_path = argument;
            else
                return usage_error(line, "unexpected argument %s", argument);
        } else if (std::strcmp(argument, "--mode") == 0) {
            if (!option_integer(line, "--mode", 1, 2, &value))
                return false;
            arguments->mode = static_cast<std::int32_t>(value);
        } else if (std::strcmp(argument, "--seconds") == 0 || std::strcmp(argument, "--orders") == 0) {
            if (seen_length)
                return usage_error(line, "give one of --seconds and --orders, once");
            seen_length = true;
            // Up to a day; a WAV file's 4 GiB limit comes first at either rate.
            if (argument[2] == 's') {
                if (!option_number(line, "--seconds", 0, true, 86400, &arguments->seconds))
                    return false;
            } else {
                if (!option_integer(line, "--orders", 1, 128, &value))
                    return false;
                arguments->orders = static_cast<std::int32_t>(value);
            }
        } else {
            return unknown_option(line, argument);
        }
    }
    if (line->status >= 0)
        return false;
    if (!arguments->wav_path)
        return usage_error(line, "a module and a WAV file to write are needed");
    return true;
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

// On a terminal the progress line rewrites itself; elsewhere each report is a line.
void show_progress(std::int64_t samples, std::int32_t rate, MusicPlace place, bool final)
{
    const bool terminal = isatty(fileno(stderr)) != 0;
    std::fprintf(stderr, "%s%s: %7.1f s rendered, order %3d row %2d%s", terminal ? "\r" : "", program,
                 static_cast<double>(samples) / rate, place.order, place.row, terminal && !final ? "" : "\n");
}

// The reason a render failed, after the program's name.
void report_failure(const RenderResult& result)
{
    switch (result.failure) {
    case RenderFailure::module_refused:
        std::fprintf(stderr, "%s: %s\n", program, module_refusal_for_users(result.refusal));
        break;
    case RenderFailure::cannot_write:
        std::fprintf(stderr, "%s: cannot write the WAV file: %s\n", program,
                     std::strerror(result.error_number));
        break;
    case RenderFailure::cannot_finish:
        std::fprintf(stderr, "%s: cannot finish the WAV file (is it seekable?): %s\n", program,
                     std::strerror(result.error_number));
        break;
    case RenderFailure::none: break;
    }
}

}   // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    CommandLine line = start_command_line(program, usage, argc, argv);
    if (!read_arguments(&line, &arguments))
        return line.status;

    RenderRequest request;
    request.mode = arguments.mode;
    request.order_limit = arguments.orders;
    request.progress = show_progress;
    if (arguments.seconds > 0)
        request.sample_limit =
            static_cast<std::int64_t>(arguments.seconds * (arguments.mode == 1 ? 22050 : 44100));

    // Read as the demo reads it; kept until exit, as the loader rewrites it in place and
    // the voices play from it.
    char message[module_message_capacity];
    static const ModuleFile module = read_module(arguments.module_path, message, sizeof message);
    if (message[0] != '\0')
        std::fprintf(stderr, "%s: %s\n", program, message);
    if (!module.bytes)
        return 1;
    std::FILE* out = std::fopen(arguments.wav_path, "wb");
    if (!out) {
        system_error(program, "cannot create", arguments.wav_path);
        return 1;
    }
    RenderResult result;
    const bool rendered = render_music(module.bytes, module.size, out, request, &result);
    const bool closed = std::fclose(out) == 0;
    if (!rendered || !closed) {
        if (rendered)
            system_error(program, "cannot write", arguments.wav_path);
        else
            report_failure(result);
        remove_failed_output(arguments.wav_path);
        return 1;
    }
    std::fprintf(stderr, "%s: wrote %s (%lld samples; %s)\n", program, arguments.wav_path,
                 static_cast<long long>(result.samples), describe(result.end));
    return 0;
}
