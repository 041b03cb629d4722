#include "command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef TINKETTLES_VERSION
#define TINKETTLES_VERSION "unknown"
#endif

CommandLine start_command_line(const char* program, const char* usage, int argc, char** argv)
{
    return CommandLine{program, usage, argc, argv, 1, false, -1};
}

bool usage_error(CommandLine* line, const char* format, ...)
{
    std::fprintf(stderr, "%s: ", line->program);
    std::va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "\n%s", line->usage);
    line->status = 2;
    return false;
}

bool unknown_option(CommandLine* line, const char* option)
{
    return usage_error(line, "unknown option %s", option);
}

bool read_operands(CommandLine* line, const char** operands, int capacity, int* count)
{
    *count = 0;
    const char* argument = nullptr;
    bool is_option = false;
    while (next_argument(line, &argument, &is_option)) {
        if (is_option)
            unknown_option(line, argument);
        else if (*count == capacity)
            usage_error(line, "unexpected argument %s", argument);
        else
            operands[(*count)++] = argument;
    }
    return line->status < 0;
}

namespace {

// --help or --version anywhere before "--" answers at once, whatever else is given:
// someone asking for help should get it rather than a complaint about the rest.
bool answer_help_or_version(CommandLine* line)
{
    for (int i = 1; i < line->argc; ++i) {
        const char* text = line->argv[i];
        if (std::strcmp(text, "--") == 0)
            return false;
        if (std::strcmp(text, "--help") == 0)
            std::fputs(line->usage, stdout);
        else if (std::strcmp(text, "--version") == 0)
            std::printf("%s %s\n", line->program, TINKETTLES_VERSION);
        else
            continue;
        line->status = std::fflush(stdout) == 0 ? 0 : 1;
        return true;
    }
    return false;
}

}   // namespace

bool next_argument(CommandLine* line, const char** argument, bool* is_option)
{
    if (line->next == 1 && line->status < 0 && answer_help_or_version(line))
        return false;
    while (line->status < 0 && line->next < line->argc) {
        const char* text = line->argv[line->next++];
        const bool option = !line->options_ended && text[0] == '-' && text[1] != '\0';
        if (option && std::strcmp(text, "--") == 0) {
            line->options_ended = true;
            continue;
        }
        *argument = text;
        *is_option = option;
        return true;
    }
    return false;
}

bool option_text(CommandLine* line, const char* name, const char** value)
{
    if (line->next >= line->argc)
        return usage_error(line, "%s needs a value", name);
    *value = line->argv[line->next++];
    return true;
}

bool parse_integer(const char* text, std::int64_t low, std::int64_t high, std::int64_t* value)
{
    if (*text == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high)
        return false;
    *value = parsed;
    return true;
}

bool option_integer(CommandLine* line, const char* name, std::int64_t low, std::int64_t high,
                    std::int64_t* value)
{
    const char* text = nullptr;
    if (!option_text(line, name, &text))
        return false;
    if (!parse_integer(text, low, high, value))
        return usage_error(line, "%s wants a whole number from %lld to %lld, not '%s'", name,
                           static_cast<long long>(low), static_cast<long long>(high), text);
    return true;
}

bool option_number(CommandLine* line, const char* name, double low, bool low_open, double high, double* value)
{
    const char* text = nullptr;
    if (!option_text(line, name, &text))
        return false;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text, &end);
    const bool in_range = (low_open ? parsed > low : parsed >= low) && parsed <= high;
    if (*text == '\0' || errno != 0 || *end != '\0' || !std::isfinite(parsed) || !in_range)
        return usage_error(line, "%s wants a number %s %g and at most %g, not '%s'", name,
                           low_open ? "above" : "from", low, high, text);
    *value = parsed;
    return true;
}

bool system_error(const char* program, const char* what, const char* path)
{
    std::fprintf(stderr, "%s: %s %s: %s\n", program, what, path, std::strerror(errno));
    return false;
}
