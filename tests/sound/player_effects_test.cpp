// Effects observed through the calls the player makes on the device table.
#include "sound/player.h"
#include "sound/player_fixture.h"

using Effects = PlayerTest;
using Periods = std::vector<std::int64_t>;

TEST_F(Effects, ArpeggioCyclesThroughThreeNotes)
{
    module.cell(0, 0, 0) = {428, 1, 0x0, 0x37};
    module.cell(0, 1, 0) = {0, 0, 0x0, 0x37};
    load();
    // Notes 36, 39 and 43 of finetune 0; the next row's first tick plays note 36.
    EXPECT_EQ(periods_over(0, 7), (Periods{428, 360, 285, 428, 360, 285, 428}));
}

TEST_F(Effects, ArpeggioAboveTheTopNoteIsHeldThere)
{
    module.cell(0, 0, 0) = {period_of_note(80), 1, 0x0, 0xFF};
    load();
    EXPECT_EQ(periods_over(0, 3), (Periods{period_of_note(80), 28, 28}));
}

TEST_F(Effects, PeriodSlidesStopAtTheTableBounds)
{
    module.cell(0, 0, 0) = {113, 1, 0x1, 40};
    module.cell(0, 0, 1) = {3424, 1, 0x2, 100};
    load();
    EXPECT_EQ(periods_over(0, 4), (Periods{113, 73, 33, 27}));
    load();
    EXPECT_EQ(periods_over(1, 4), (Periods{3424, 3524, 3624, 3628}));
}

TEST_F(Effects, FineSlidesAndFineVolumeStepByOne)
{
    module.cell(0, 0, 0) = {428, 1, 0xE, 0x1F};
    module.cell(0, 1, 0) = {0, 0, 0xE, 0x2F};
    module.cell(0, 2, 0) = {0, 0, 0xE, 0xAF};
    module.cell(0, 3, 0) = {0, 0, 0xE, 0xB3};
    load();
    EXPECT_EQ(periods_over(0, 7), (Periods{427, -1, -1, -1, -1, -1, 428}));
    tick(6);
    EXPECT_EQ(last_argument(0, "set_volume"), 41);
    tick(6);
    EXPECT_EQ(last_argument(0, "set_volume"), 40);
}

TEST_F(Effects, TonePortamentoSetsOnlyTheTargetAndSlides)
{
    module.cell(0, 0, 0) = {428, 1, 0, 0};
    module.cell(0, 1, 0) = {404, 1, 0x3, 10};
    module.cell(0, 2, 0) = {0, 0, 0x3, 0};
    load();
    tick(6);
    EXPECT_EQ(periods_over(0, 6), (Periods{-1, 418, 408, 404, 404, 404}));
    EXPECT_EQ(last_argument(0, "set_position"), -1);
}

TEST_F(Effects, GlissandoPlaysWholeSemitones)
{
    // Two ticks of slide take note 35 (453) to 440; then glissando, then the slide.
    module.cell(0, 0, 0) = {453, 1, 0x1, 13};
    module.cell(0, 0, 1) = {0, 0, 0xF, 2};
    module.cell(0, 1, 0) = {0, 0, 0xE, 0x31};
    module.cell(0, 1, 1) = {0, 0, 0xF, 6};
    module.cell(0, 2, 0) = {428, 0, 0x3, 4};
    load();
    tick(2 + 6);
    EXPECT_EQ(channels[0].period, 440);
    // 440 slides to 436, 432, 428: 453 is played until the period reaches 428.
    EXPECT_EQ(periods_over(0, 4), (Periods{-1, 453, 453, 428}));
    EXPECT_EQ(channels[0].period, 428);
}

TEST_F(Effects, VibratoFollowsTheSineAndKeepsThePeriod)
{
    module.cell(0, 0, 0) = {428, 1, 0x4, 0x48};
    module.cell(0, 1, 0) = {0, 0, 0x4, 0x00};
    load();
    // Sine entries 0, 97, 180, 235, 255 at positions 0, 4, 8, 12, 16, times 8 / 127.
    EXPECT_EQ(periods_over(0, 6), (Periods{428, 428, 434, 439, 442, 444}));
    EXPECT_EQ(periods_over(0, 2), (Periods{-1, 442}));
    EXPECT_EQ(channels[0].period, 428);
}

TEST_F(Effects, VibratoWaveformsAndTheirReset)
{
    module.cell(0, 0, 0) = {428, 1, 0xE, 0x41};   // ramp
    module.cell(0, 0, 1) = {428, 1, 0x4, 0x1F};
    load();
    // Ramp entries 255, 247, 239: 255*15/127 = 30, 247*15/127 = 29, 239*15/127 = 28.
    EXPECT_EQ(periods_over(1, 4), (Periods{428, 458, 457, 456}));
}

TEST_F(Effects, RandomAndSquareWaveformsAreFixed)
{
    module.cell(0, 0, 0) = {428, 1, 0xE, 0x43};   // random
    module.cell(0, 0, 1) = {428, 1, 0x4, 0x1F};
    load();
    // The generator's first three values are 1103527590, 377401576 and 662824084;
    // mod 511 less 256 they give -161, 226 and 107.
    EXPECT_EQ(periods_over(1, 4),
              (Periods{428, 428 - 161 * 15 / 127, 428 + 226 * 15 / 127, 428 + 107 * 15 / 127}));
    module.cell(0, 0, 0) = {428, 1, 0xE, 0x42};   // square
    module.cell(0, 0, 1) = {428, 1, 0x4, 0x8F};
    load();
    // Speed 8 visits entries 0, 8, 16, 24, 32: 0, 0, 255, 255, 0.
    EXPECT_EQ(periods_over(1, 6), (Periods{428, 428, 428, 458, 458, 428}));
}

TEST_F(Effects, TremoloChangesOnlyWhatIsPlayed)
{
    module.cell(0, 0, 0) = {428, 1, 0x7, 0x83};
    load();
    // Depth 3 is stored as 6; sine entries 0, 180, 255 (-8 > 64 is held).
    EXPECT_EQ(periods_over(0, 4, "set_volume"), (Periods{40, 40, 48, 52}));
    EXPECT_EQ(channels[0].volume, 40);
    EXPECT_EQ(channels[0].tremolo_depth, 6);
}

TEST_F(Effects, VolumeSlidesAreClampedAndTheUpperNibbleWins)
{
    module.sample(1).volume = 62;
    module.cell(0, 0, 0) = {428, 1, 0xA, 0x11};
    module.cell(0, 1, 0) = {0, 0, 0xA, 0x0F};
    load();
    EXPECT_EQ(periods_over(0, 6, "set_volume"), (Periods{62, 63, 64, 64, 64, 64}));
    EXPECT_EQ(periods_over(0, 6, "set_volume"), (Periods{-1, 49, 34, 19, 4, 0}));
}

TEST_F(Effects, VolumeCommandIsUncappedAndReplacesTheDefault)
{
    module.cell(0, 0, 0) = {428, 1, 0xC, 0x80};
    load();
    tick();
    EXPECT_EQ(calls_for_voice(0), (std::vector<DeviceCall>{{"set_channel_sample", {1}},
                                                           {"set_period", {428}},
                                                           {"set_position", {0}},
                                                           {"set_volume", {128}}}));
}

TEST_F(Effects, ToneSlideWithVolumeSlideAndVibratoWithVolumeSlide)
{
    module.cell(0, 0, 0) = {428, 1, 0, 0};
    module.cell(0, 1, 0) = {381, 0, 0x3, 4};
    module.cell(0, 2, 0) = {0, 0, 0x5, 0x02};
    module.cell(0, 0, 1) = {428, 1, 0x4, 0x48};
    module.cell(0, 2, 1) = {0, 0, 0x6, 0x20};
    load();
    tick(12);
    EXPECT_EQ(channels[0].period, 408);
    tick(3);   // row 2: its first tick, then two ticks of effect
    EXPECT_EQ(last_argument(0, "set_period"), 400);
    EXPECT_EQ(last_argument(0, "set_volume"), 36);
    // Vibrato positions 20 and 24 (sine 235, 180) at depth 8.
    EXPECT_EQ(last_argument(1, "set_period"), 439);
    EXPECT_EQ(last_argument(1, "set_volume"), 44);
    EXPECT_EQ(channels[1].period, 428);
}

TEST_F(Effects, RetriggerRestartsTheNoteEveryNTicks)
{
    module.cell(0, 0, 0) = {428, 1, 0xE, 0x92};
    module.cell(0, 1, 0) = {0, 0, 0xE, 0x92};   // no note: nothing to retrigger
    load();
    EXPECT_EQ(periods_over(0, 6, "set_position"), (Periods{0, -1, 0, -1, 0, -1}));
    EXPECT_EQ(periods_over(0, 6, "set_position"), (Periods{-1, -1, -1, -1, -1, -1}));
}

TEST_F(Effects, NoteCutSilencesButKeepsTheVolume)
{
    module.cell(0, 0, 0) = {428, 1, 0xE, 0xC2};
    module.cell(0, 0, 1) = {428, 1, 0xE, 0xC9};   // too late for speed 6: last tick
    load();
    tick(3);
    EXPECT_EQ(last_argument(0, "set_volume"), 0);
    EXPECT_EQ(channels[0].volume, 40);
    EXPECT_EQ(last_argument(1, "set_volume"), -1);
    tick(3);
    EXPECT_EQ(last_argument(1, "set_volume"), 0);
}

TEST_F(Effects, NoteDelayStartsTheNoteLater)
{
    module.cell(0, 0, 0) = {381, 1, 0xE, 0xD3};
    load();
    const Periods positions = periods_over(0, 6, "set_position");
    EXPECT_EQ(positions, (Periods{-1, -1, -1, 0, -1, -1}));
    EXPECT_EQ(channels[0].note, 38);
    EXPECT_EQ(channels[0].period, 381);
}

TEST_F(Effects, SampleOffsetWithAndWithoutANote)
{
    module.cell(0, 0, 0) = {428, 1, 0x9, 0x02};
    module.cell(0, 1, 0) = {0, 0, 0x9, 0x10};
    load();
    tick();
    EXPECT_EQ(calls_for_voice(0), (std::vector<DeviceCall>{{"set_volume", {40}},
                                                           {"set_channel_sample", {1}},
                                                           {"set_period", {428}},
                                                           {"set_position", {512}}}));
    tick(6);
    EXPECT_EQ(calls_for_voice(0), (std::vector<DeviceCall>{{"set_position", {4096}}}));
}

TEST_F(Effects, FinetuneComesFromTheSampleAndFromE5)
{
    // Entry 0 of every finetune row.
    const std::int64_t lowest[16] = {3424, 3400, 3376, 3352, 3328, 3304, 3280, 3256,
                                     3628, 3600, 3576, 3548, 3524, 3500, 3472, 3448};
    for (int finetune = 0; finetune < 16; ++finetune) {
        module.sample(1).finetune = finetune;
        module.cell(0, 0, 0) = {4000, 1, 0, 0};
        load();
        tick();
        EXPECT_EQ(last_argument(0, "set_period"), lowest[finetune]) << finetune;
    }
    module.sample(1).finetune = 0;
    module.cell(0, 0, 0) = {428, 1, 0xE, 0x58};
    module.cell(0, 1, 0) = {0, 0, 0x0, 0x01};
    load();
    tick();
    EXPECT_EQ(last_argument(0, "set_period"), 428);
    tick(7);
    EXPECT_EQ(last_argument(0, "set_period"), 453) << "note 36 of finetune -8";
}

TEST_F(Effects, SampleNumbersAbove31AreNoSample)
{
    module.cell(0, 0, 0) = {428, 0x20, 0, 0};
    module.cell(0, 0, 1) = {428, 0xFF, 0, 0};
    load();
    tick();
    EXPECT_EQ(last_argument(0, "set_channel_sample"), -1);
    EXPECT_EQ(last_argument(1, "set_channel_sample"), -1);
    EXPECT_EQ(last_argument(1, "set_period"), 428);
}
