// The heard clock: stream samples mapped to the position of the tick that covers them,
// through the ring's wrap, before the first tick, while a writer races the reader, and
// fed by the real audio callback.
#include "sound/heard_clock.h"
#include "sound/module_writer.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr std::int64_t tick_samples = 938;

// Ticks 0..count-1, tick k starting at k * 938 and leaving position 100 + k.
void record_ticks(std::int64_t count)
{
    for (std::int64_t k = 0; k < count; ++k)
        heard_clock_record_tick(k * tick_samples, static_cast<std::int32_t>(100 + k));
}

}   // namespace

TEST(HeardClock, EachSampleHearsTheLastTickStartingAtOrBeforeIt)
{
    heard_clock_reset(7);
    EXPECT_EQ(heard_position_at(0), 7);   // nothing mixed yet
    EXPECT_EQ(heard_position_at(5000), 7);
    heard_clock_record_tick(300, 12);   // first tick after 300 samples of carry
    heard_clock_record_tick(1238, 13);
    EXPECT_EQ(heard_position_at(0), 7);   // before the first tick: the reset's position
    EXPECT_EQ(heard_position_at(299), 7);
    EXPECT_EQ(heard_position_at(300), 12);
    EXPECT_EQ(heard_position_at(1237), 12);
    EXPECT_EQ(heard_position_at(1238), 13);
    EXPECT_EQ(heard_position_at(1'000'000), 13);   // ahead of the mixer: the latest
    EXPECT_EQ(heard_position_at(-5), 7);

    // Large values keep both halves: a day of samples, the largest position.
    heard_clock_reset(0);
    const std::int64_t day = 44100LL * 86400;
    heard_clock_record_tick(day, 999'999);
    heard_clock_record_tick(day + 938, 2500);
    EXPECT_EQ(heard_position_at(day + 937), 999'999);
    EXPECT_EQ(heard_position_at(day + 938), 2500);
    EXPECT_EQ(heard_position_at(day - 1), 0);
}

TEST(HeardClock, AfterTheRingWrapsOldSamplesGetTheOldestTickKept)
{
    heard_clock_reset(1);
    const std::int64_t count = heard_clock_capacity + 44;   // ticks 0..43 overwritten
    record_ticks(count);
    const std::int64_t oldest = count - heard_clock_capacity;   // tick 44
    EXPECT_EQ(heard_position_at(0), 100 + oldest);              // not the reset's 1
    EXPECT_EQ(heard_position_at(oldest * tick_samples - 1), 100 + oldest);
    EXPECT_EQ(heard_position_at(oldest * tick_samples), 100 + oldest);
    EXPECT_EQ(heard_position_at((oldest + 1) * tick_samples - 1), 100 + oldest);
    for (std::int64_t k = oldest; k < count; ++k)
        ASSERT_EQ(heard_position_at(k * tick_samples + tick_samples / 2), 100 + k) << "tick " << k;

    // A reset forgets it all and counts the stream from 0 again.
    heard_clock_advance(5);
    heard_clock_reset(3);
    EXPECT_EQ(heard_clock_samples(), 0);
    EXPECT_EQ(heard_position_at(count * tick_samples), 3);
}

TEST(HeardClock, AReaderRacingTheWriterNeverSeesATickThatDidNotCover)
{
    // The writer runs through the ring many times over while the reader asks about
    // samples near the newest tick; an answer is either that tick's (it was recorded
    // in time) or an older one, never a later or a made-up position.
    heard_clock_reset(0);
    constexpr std::int64_t total = 900'000;   // positions stay below 1,000,000
    std::atomic<std::int64_t> written{0};
    std::thread writer([&] {
        for (std::int64_t k = 0; k < total; ++k) {
            heard_clock_record_tick(k * tick_samples, static_cast<std::int32_t>(k));
            written.store(k + 1, std::memory_order_release);
        }
    });
    for (std::int64_t done = 0; done < total; done = written.load(std::memory_order_acquire)) {
        if (done == 0)
            continue;
        const std::int64_t k = done - 1;   // recorded before the call
        const std::int32_t heard = heard_position_at(k * tick_samples + 1);
        // Tick k was recorded before the call: its position, or an older one when the
        // writer lapped the ring during the call; never a later one.
        ASSERT_LE(heard, k) << "tick " << k;
    }
    writer.join();
    EXPECT_EQ(heard_position_at((total - 1) * tick_samples), total - 1);
}

TEST(HeardClock, TheCallbackRecordsEveryTickWhereItsSegmentStarts)
{
    // Speed 1: one row per tick, so the position counts ticks. At 47 ticks a second
    // the segments are 938 samples (44100 / 47, rounded down); the first tick starts
    // the stream. Buffers of odd sizes make segments cross buffer ends.
    TestModule module;
    module.cell(0, 0, 0) = {0, 0, 0xF, 1};
    std::vector<std::uint8_t> bytes = module.bytes();
    MusicStream stream;
    ASSERT_EQ(start_music_stream(&stream, 2, bytes.data(), bytes.size()), nullptr);
    const std::int32_t start = music_position();
    EXPECT_EQ(heard_position_at(0), start);
    std::vector<std::uint8_t> out(2 * 2048);
    const std::int32_t sizes[] = {2048, 300, 1, 938, 1777};
    for (int i = 0; stream.samples < 40 * tick_samples; ++i)
        next_music_buffer(&stream, out.data(), sizes[i % 5]);
    EXPECT_EQ(heard_clock_samples(), stream.samples);
    // Tick k (0-based) leaves row k of order 0.
    for (std::int64_t k = 0; k < 40; ++k) {
        ASSERT_EQ(heard_position_at(k * tick_samples), k) << "tick " << k;
        ASSERT_EQ(heard_position_at((k + 1) * tick_samples - 1), k) << "tick " << k;
    }
}
