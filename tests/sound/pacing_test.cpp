// The silent clock's tick schedule and the audio stream's lead over the wall clock,
// with times given by the test instead of read from SDL.
#include "sound/pacing.h"

#include <gtest/gtest.h>

TEST(TickSchedule, TimerCallsOnACoarseGridStillRunFortySevenTicksASecond)
{
    // Calls every 30 ms, as SDL's timer makes of a 21 ms request. Tick k is due at
    // k * 1000 / 47 ms: by 19,980 ms, ticks 0..939 are due.
    TickSchedule schedule = start_tick_schedule(5000, 47);
    std::int64_t total = 0;
    for (std::uint32_t t = 0; t <= 19980; t += 30) {
        const std::int32_t n = ticks_due(schedule, 5000 + t);
        ASSERT_GE(n, 1) << "at " << t << " ms";   // 30 ms always holds a tick
        ASSERT_LE(n, 2) << "at " << t << " ms";
        total += n;
    }
    EXPECT_EQ(total, 940);
    EXPECT_EQ(schedule.ticks_run, 940);
    // Asked again at the same moment, nothing more is owed.
    EXPECT_EQ(ticks_due(schedule, 5000 + 19980), 0);
}

TEST(TickSchedule, ALateCallCatchesUpAndALongStallIsLetGo)
{
    TickSchedule schedule = start_tick_schedule(0, 47);
    EXPECT_EQ(ticks_due(schedule, 0), 1);       // tick 0 at the start
    EXPECT_EQ(ticks_due(schedule, 200), 9);     // 200 ms: ticks 1..9 (9.4 are due)
    EXPECT_EQ(ticks_due(schedule, 1900), 80);   // a 1.7 s stall: 89.3 due, all made up
    // A five-second stall: 236 ticks are due by then, but only two seconds' worth
    // (94) is made up; the clock goes on from there in step with the wall.
    EXPECT_EQ(ticks_due(schedule, 5000), 94);
    EXPECT_EQ(schedule.ticks_run, 236);
    EXPECT_EQ(ticks_due(schedule, 5030), 1);   // 5,030 ms: tick 236 (236.4 due)
    EXPECT_EQ(ticks_due(schedule, 5040), 0);

    // Across the wrap of SDL's millisecond counter, 96 ms before it to 104 ms after.
    TickSchedule wrapped = start_tick_schedule(0xFFFFFFA0u, 47);
    EXPECT_EQ(ticks_due(wrapped, 104), 10);   // ticks 0..9
}

TEST(StreamPace, AheadOnlyBeyondThreeQuartersOfASecond)
{
    StreamPace pace = start_stream_pace(44100);
    EXPECT_EQ(stream_excess(pace, 7000), 0);   // starts the clock
    EXPECT_TRUE(pace.started);
    // 0.75 s at 44,100 Hz is 33,075 samples.
    pace.samples_played = 33075;
    EXPECT_EQ(stream_excess(pace, 7000), 0);
    pace.samples_played = 33076;
    EXPECT_EQ(stream_excess(pace, 7000), 1);
    // A second later 44,100 samples have been heard.
    pace.samples_played = 44100 + 33075 + 2048;
    EXPECT_EQ(stream_excess(pace, 8000), 2048);
    EXPECT_EQ(excess_ms(pace, 2048), 47u);   // 46.4 ms, rounded up
    EXPECT_EQ(excess_ms(pace, 0), 0u);
    // A stream behind the clock (an underrun) is not ahead at all.
    pace.samples_played = 1000;
    EXPECT_EQ(stream_excess(pace, 60000), 0);

    // 22,050 Hz across the counter's wrap: 2 s heard, allowance 16,537 (16,537.5 down).
    StreamPace slow = start_stream_pace(22050);
    stream_excess(slow, 0xFFFFFC18u);
    slow.samples_played = 44100 + 16537 + 100;
    EXPECT_EQ(stream_excess(slow, 1000), 100);
}
