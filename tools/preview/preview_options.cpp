#include "preview_options.h"

#include "command_line.h"
#include "line_reader.h"

#include <cctype>
#include <climits>
#include <cstring>

const char* const preview_program = "tinkettles-preview";

const char* const preview_usage =
    "usage: tinkettles-preview [--scale S] [--offset X Y] [--segments N] [--present] "
    "FILE.cgm|FILE.txt OUT.png\n"
    "  --scale S       picture scale in pixels (default 90)\n"
    "  --offset X Y    picture offset in quarter pixels (default 0 0)\n"
    "  --segments N    draw only the first N segments of a text picture (default all)\n"
    "  --present       write the 640x480 screen image instead of the 320x200 frame\n"
    "  --help, --version\n";

namespace {

bool option_int32(CommandLine* line, const char* name, std::int32_t* target)
{
    std::int64_t value = 0;
    if (!option_integer(line, name, INT32_MIN, INT32_MAX, &value))
        return false;
    *target = static_cast<std::int32_t>(value);
    return true;
}

bool read_options(CommandLine* line, PreviewOptions* options)
{
    const char* files[2] = {nullptr, nullptr};
    int file_count = 0;
    const char* argument = nullptr;
    bool is_option = false;
    while (next_argument(line, &argument, &is_option)) {
        std::int64_t value = 0;
        if (!is_option) {
            if (file_count == 2)
                return usage_error(line, "too many file names: %s", argument);
            files[file_count++] = argument;
        } else if (std::strcmp(argument, "--scale") == 0) {
            if (!option_int32(line, "--scale", &options->scale))
                return false;
        } else if (std::strcmp(argument, "--offset") == 0) {
            if (!option_int32(line, "--offset", &options->offset_x) ||
                !option_int32(line, "--offset", &options->offset_y))
                return false;
        } else if (std::strcmp(argument, "--segments") == 0) {
            if (!option_integer(line, "--segments", 0, INT32_MAX, &value))
                return false;
            options->segments = static_cast<std::int32_t>(value);
        } else if (std::strcmp(argument, "--present") == 0) {
            options->present = true;
        } else {
            return unknown_option(line, argument);
        }
    }
    if (line->status >= 0)
        return false;
    if (file_count != 2)
        return usage_error(line, "an input file and an output file are needed");
    options->input = files[0];
    options->output = files[1];
    options->text_picture = has_suffix(files[0], ".txt");
    if (!options->text_picture && !has_suffix(files[0], ".cgm"))
        return usage_error(line, "the input must be a .cgm or a .txt file, not %s", files[0]);
    return true;
}

}   // namespace

bool parse_preview_options(int argc, char** argv, PreviewOptions* options, int* status)
{
    *options = PreviewOptions{90, 0, 0, -1, false, false, nullptr, nullptr};
    CommandLine line = start_command_line(preview_program, preview_usage, argc, argv);
    if (read_options(&line, options))
        return true;
    *status = line.status;
    return false;
}
