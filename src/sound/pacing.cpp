#include "sound/pacing.h"

#include <algorithm>

namespace {

// At most this much of a backlog is made up at once, so that the scenes, whose motion
// follows the wall clock, stay in step after a process starved for a while; a longer
// stall (a suspended machine) is let go rather than skipping the music ahead.
constexpr std::int32_t catch_up_ms = 2000;

// A device fills a few buffers before it starts to play, and its clock drifts a
// little from the system's: a lead below this much is its normal behaviour.
constexpr std::int32_t stream_lead_allowance_ms = 750;

// Milliseconds since start, correct across the 49-day wrap of SDL's tick counter.
std::int64_t elapsed_ms(std::uint32_t start_ms, std::uint32_t now_ms)
{
    return static_cast<std::int64_t>(static_cast<std::uint32_t>(now_ms - start_ms));
}

}   // namespace

TickSchedule start_tick_schedule(std::uint32_t now_ms, std::int32_t rate)
{
    return {now_ms, rate, 0};
}

std::int32_t ticks_due(TickSchedule& schedule, std::uint32_t now_ms)
{
    if (schedule.rate <= 0)
        return 0;
    const std::int64_t due = elapsed_ms(schedule.start_ms, now_ms) * schedule.rate / 1000 + 1;
    const std::int64_t limit = std::max<std::int64_t>(1, std::int64_t{schedule.rate} * catch_up_ms / 1000);
    if (due - schedule.ticks_run > limit)
        schedule.ticks_run = due - limit;
    const std::int64_t owed = std::max<std::int64_t>(0, due - schedule.ticks_run);
    schedule.ticks_run += owed;
    return static_cast<std::int32_t>(owed);
}

StreamPace start_stream_pace(std::int32_t rate)
{
    return {false, 0, rate, 0};
}

std::int64_t stream_excess(StreamPace& pace, std::uint32_t now_ms)
{
    if (!pace.started) {
        pace.started = true;
        pace.start_ms = now_ms;
    }
    const std::int64_t heard = elapsed_ms(pace.start_ms, now_ms) * pace.rate / 1000;
    const std::int64_t allowance = std::int64_t{pace.rate} * stream_lead_allowance_ms / 1000;
    return std::max<std::int64_t>(0, pace.samples_played - heard - allowance);
}

std::uint32_t excess_ms(const StreamPace& pace, std::int64_t excess)
{
    if (pace.rate <= 0 || excess <= 0)
        return 0;
    const std::int64_t ms = (excess * 1000 + pace.rate - 1) / pace.rate;
    return static_cast<std::uint32_t>(std::min<std::int64_t>(ms, UINT32_MAX));
}
