// The command line every tool shares: arguments read one at a time, --help (usage on
// standard output, status 0), --version, "--" to end the options, numbers checked
// against their ranges, and any mistake reported as "program: what" followed by the
// usage on standard error, with status 2.
#pragma once

#include <cstdint>

struct CommandLine {
    const char* program;   // the tool's name, the start of every message
    const char* usage;     // the whole usage text, its first line "usage: ..."
    int argc;
    char** argv;
    int next;             // the next argument to read
    bool options_ended;   // after "--" every argument is an operand
    int status;           // -1 while reading; then the exit status the reading decided
};

CommandLine start_command_line(const char* program, const char* usage, int argc, char** argv);

// The next argument in *argument; false once they are used up or the reading has
// decided the exit status (--help, --version, or a mistake reported). --help and
// --version are looked for first, anywhere before "--", and answered at once. *is_option says
// whether it is an option ("-x" or "--name"; a lone "-" is an operand).
bool next_argument(CommandLine* line, const char** argument, bool* is_option);

// The argument after the option `name`; a missing one is a usage error.
bool option_text(CommandLine* line, const char* name, const char** value);

// A whole number in [low, high] after the option `name`.
bool option_integer(CommandLine* line, const char* name, std::int64_t low, std::int64_t high,
                    std::int64_t* value);

// A finite number in [low, high] (or above low when `low_open`) after the option.
bool option_number(CommandLine* line, const char* name, double low, bool low_open, double high,
                   double* value);

// Reports "program: <message>" and the usage on standard error; sets status 2. Always false.
bool usage_error(CommandLine* line, const char* format, ...) __attribute__((format(printf, 2, 3)));

bool unknown_option(CommandLine* line, const char* option);

// The whole line of a program with no options of its own: up to `capacity` operands
// into `operands`, their number in *count. An option or one operand too many is a
// usage error. False when the program should stop (see command_line_status).
bool read_operands(CommandLine* line, const char** operands, int capacity, int* count);

// After the loop: the exit status when the program should stop now, else -1.
inline int command_line_status(const CommandLine& line)
{
    return line.status;
}

// Reads a whole number in [low, high] from the whole of `text`.
bool parse_integer(const char* text, std::int64_t low, std::int64_t high, std::int64_t* value);

// "program: <what> <path>: <the system's reason from errno>" on standard error. Always false.
bool system_error(const char* program, const char* what, const char* path);
