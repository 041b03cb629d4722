// Runs the demo program in a given folder with a time limit and collects how it ended.
#pragma once

#include <string>

struct DemoRun {
    bool still_running;   // stopped by us at the time limit: it had loaded and was playing
    bool signalled;       // ended by a signal of its own (a crash)
    int signal_number;
    int exit_status;      // when it exited by itself
    std::string errors;   // everything it wrote to standard error
};

// Runs `program` with the working directory `folder`, standard input empty, the dummy
// SDL drivers, and stops it after `seconds`.
DemoRun run_demo(const std::string& program, const std::string& folder, int seconds);
