#include "progress_line.h"

#include "frame/timeline.h"

#include <cstdio>

namespace {

constexpr std::chrono::milliseconds update_interval{250};

}   // namespace

void start_progress(ProgressLine* line)
{
    line->started = std::chrono::steady_clock::now();
    line->next_update = line->started;
}

double capture_speed(const ProgressLine* line, std::int32_t demo_ms)
{
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - line->started;
    return spent.count() > 0 ? demo_ms / 1000.0 / spent.count() : 0.0;
}

void show_progress(ProgressLine* line, std::int64_t frames, std::int32_t demo_ms, std::int32_t position,
                   bool final)
{
    const auto now = std::chrono::steady_clock::now();
    if (!final && now < line->next_update)
        return;
    line->next_update = now + update_interval;
    std::fprintf(stderr,
                 "\rtinkettles-capture: position %4d  scene %2d  %7lld frames  %6.1f s  %5.1fx real time",
                 position, scene_number(position), static_cast<long long>(frames), demo_ms / 1000.0,
                 capture_speed(line, demo_ms));
    if (final)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}
