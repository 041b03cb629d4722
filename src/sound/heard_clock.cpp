#include "sound/heard_clock.h"

#include <algorithm>
#include <atomic>

namespace {

// One tick in one word, so that a reader never sees half of an entry: the start sample
// in the high 44 bits (12 years at 44100 Hz), the position in the low 20.
constexpr int position_bits = 20;
constexpr std::uint64_t position_mask = (std::uint64_t{1} << position_bits) - 1;

std::atomic<std::uint64_t> ticks[heard_clock_capacity];
std::atomic<std::int64_t> ticks_recorded{0};   // published after the entry is written
std::atomic<std::int64_t> samples_handed{0};
std::atomic<std::int32_t> position_before_first{0};

std::uint64_t pack(std::int64_t start_sample, std::int32_t position)
{
    return (static_cast<std::uint64_t>(start_sample) << position_bits) |
           (static_cast<std::uint64_t>(position) & position_mask);
}

std::int64_t start_of(std::uint64_t entry)
{
    return static_cast<std::int64_t>(entry >> position_bits);
}

std::int32_t position_of(std::uint64_t entry)
{
    return static_cast<std::int32_t>(entry & position_mask);
}

}   // namespace

void heard_clock_reset(std::int32_t position)
{
    ticks_recorded.store(0, std::memory_order_relaxed);
    samples_handed.store(0, std::memory_order_relaxed);
    position_before_first.store(position, std::memory_order_release);
}

void heard_clock_record_tick(std::int64_t start_sample, std::int32_t position)
{
    const std::int64_t n = ticks_recorded.load(std::memory_order_relaxed);
    ticks[n % heard_clock_capacity].store(pack(start_sample, position), std::memory_order_relaxed);
    ticks_recorded.store(n + 1, std::memory_order_release);
}

void heard_clock_advance(std::int32_t samples)
{
    samples_handed.fetch_add(samples, std::memory_order_release);
}

std::int64_t heard_clock_samples()
{
    return samples_handed.load(std::memory_order_acquire);
}

std::int32_t heard_position_at(std::int64_t stream_sample)
{
    const std::int64_t recorded = ticks_recorded.load(std::memory_order_acquire);
    if (recorded == 0)
        return position_before_first.load(std::memory_order_acquire);
    const std::int64_t oldest = std::max<std::int64_t>(0, recorded - heard_clock_capacity);
    // Newest first: the position heard is usually only a few ticks old.
    std::uint64_t later = ticks[(recorded - 1) % heard_clock_capacity].load(std::memory_order_acquire);
    if (start_of(later) <= stream_sample)
        return position_of(later);
    for (std::int64_t n = recorded - 2; n >= oldest; --n) {
        const std::uint64_t entry = ticks[n % heard_clock_capacity].load(std::memory_order_acquire);
        // Start samples grow with the tick number; one that does not was overwritten by
        // a newer tick after this call began, and everything older may be too.
        if (start_of(entry) >= start_of(later))
            return position_of(later);
        if (start_of(entry) <= stream_sample)
            return position_of(entry);
        later = entry;
    }
    // Before the first tick, if it is still kept; else as near as the ring reaches.
    return oldest == 0 ? position_before_first.load(std::memory_order_acquire) : position_of(later);
}
