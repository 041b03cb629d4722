// The progress line on standard error: music position, scene, frames and speed.
#pragma once

#include <chrono>
#include <cstdint>

struct ProgressLine {
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point next_update;
};

void start_progress(ProgressLine* line);

// Redraws the line at most a few times a second, and always when `final`; the
// final line ends with a line feed.
void show_progress(ProgressLine* line, std::int64_t frames, std::int32_t demo_ms, std::int32_t position,
                   bool final);

// Demo time captured per second of work so far.
double capture_speed(const ProgressLine* line, std::int32_t demo_ms);
