// Other programs run through the shell as a user runs them, with what they said.
#pragma once

#include <filesystem>
#include <string>

struct ProgramRun {
    int status = -1;      // the exit status, or -1 when the program did not exit by itself
    std::string out;      // everything written to standard output
    std::string errors;   // everything written to standard error
};

// The exit status in a status from wait() or system(), or -1 for a program that ended
// by a signal.
int exit_status(int wait_status);

// A path in single quotes, as one word of a shell command line.
std::string shell_quoted(const std::filesystem::path& path);

// Runs a shell command line in `folder` (the current folder when empty) with standard
// input empty, and collects both of its outputs.
ProgramRun run_program(const std::string& command, const std::filesystem::path& folder = {});
