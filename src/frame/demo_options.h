// The demo's command line: the window choice, where the data is, and the part of the
// music to play.
#pragma once

#include <cstdint>
#include <cstdio>

struct DemoOptions {
    bool windowed;             // -w, or a program name ending in 'w'
    const char* data_folder;   // --data DIR, or nullptr to search
    std::int32_t from;         // --from: music position to start at, or -1 for the start
    std::int32_t to;           // --to: music position at which the demo ends
    bool calm;                 // --calm: flashes held under the limits (frame/calm.h)
    bool maker;                // --maker: the maker's controls and data reloads
};

enum class DemoCommand { run, help, version, usage_error };

// Fills `options` from argv. A usage error has been named on standard error already;
// help and version are left to the caller to print.
DemoCommand parse_demo_options(int argc, const char* const* argv, DemoOptions* options);

// A music position as the command line writes it: order * 100 + row, a whole number
// with a row of 0 to 63 and an order of 0 to 127.
bool parse_music_position(const char* text, std::int32_t* position);

void print_demo_usage(std::FILE* out);
