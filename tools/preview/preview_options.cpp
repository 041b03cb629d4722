#include "preview_options.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

const char* const preview_usage =
    "usage: tinkettles-preview [--scale S] [--offset X Y] [--segments N] [--present] "
    "FILE.cgm|FILE.txt OUT.png\n"
    "  --scale S       picture scale in pixels (default 90)\n"
    "  --offset X Y    picture offset in quarter pixels (default 0 0)\n"
    "  --segments N    draw only the first N segments of a text picture (default all)\n"
    "  --present       write the 640x480 screen image instead of the 320x200 frame\n";

namespace {

bool parse_int32(const char* text, std::int32_t* value)
{
    if (!text || *text == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    *value = static_cast<std::int32_t>(parsed);
    return true;
}

bool has_suffix(const char* text, const char* suffix)
{
    const std::size_t length = std::strlen(text);
    const std::size_t suffix_length = std::strlen(suffix);
    if (length <= suffix_length)
        return false;
    const char* tail = text + length - suffix_length;
    for (std::size_t k = 0; k < suffix_length; ++k)
        if (std::tolower(static_cast<unsigned char>(tail[k])) != suffix[k])
            return false;
    return true;
}

// Reads the values of one option starting at argv[*next]; false when one is missing or
// not an integer.
bool parse_option(int argc, char** argv, int* next, PreviewOptions* options,
                  const char** problem)
{
    const char* name = argv[(*next)++];
    auto value = [&](std::int32_t* target) {
        if (*next < argc && parse_int32(argv[*next], target)) {
            ++*next;
            return true;
        }
        *problem = "option needs an integer value";
        return false;
    };
    if (std::strcmp(name, "--scale") == 0)
        return value(&options->scale);
    if (std::strcmp(name, "--offset") == 0)
        return value(&options->offset_x) && value(&options->offset_y);
    if (std::strcmp(name, "--segments") == 0) {
        if (!value(&options->segments))
            return false;
        if (options->segments < 0) {
            *problem = "--segments needs a count of 0 or more";
            return false;
        }
        return true;
    }
    if (std::strcmp(name, "--present") == 0) {
        options->present = true;
        return true;
    }
    *problem = "unknown option";
    return false;
}

}  // namespace

bool parse_preview_options(int argc, char** argv, PreviewOptions* options, const char** problem)
{
    *options = PreviewOptions{90, 0, 0, -1, false, false, nullptr, nullptr};
    const char* files[2] = {nullptr, nullptr};
    int file_count = 0;
    for (int next = 1; next < argc;) {
        if (std::strncmp(argv[next], "--", 2) == 0) {
            if (!parse_option(argc, argv, &next, options, problem))
                return false;
        } else if (file_count < 2) {
            files[file_count++] = argv[next++];
        } else {
            *problem = "too many file names";
            return false;
        }
    }
    if (file_count != 2) {
        *problem = "an input file and an output file are needed";
        return false;
    }
    options->input = files[0];
    options->output = files[1];
    options->text_picture = has_suffix(files[0], ".txt");
    if (!options->text_picture && !has_suffix(files[0], ".cgm")) {
        *problem = "the input must be a .cgm or a .txt file";
        return false;
    }
    return true;
}
