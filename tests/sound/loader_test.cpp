#include "sound/module.h"
#include "sound/module_writer.h"
#include "sound/recording_device.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<DeviceCall> calls_named(const std::string& operation)
{
    std::vector<DeviceCall> found;
    for (const DeviceCall& call : device_calls)
        if (call.operation == operation)
            found.push_back(call);
    return found;
}

}   // namespace

TEST(Loader, PatternsAndSamplesFollowTheLargestOrderEntry)
{
    TestModule module;
    module.song_length = 4;
    module.orders[1] = 1;
    module.orders[3] = 2;
    module.cell(2, 63, 3) = {};
    module.sample(1).data = make_wave(6, [](int i) { return i; });
    std::vector<std::uint8_t> bytes = module.bytes();

    install_recording_device();
    ASSERT_EQ(pt_takemod(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(loaded_module.channel_count, 4);
    EXPECT_EQ(loaded_module.pattern_cells[0], bytes.data() + 1084);
    EXPECT_EQ(loaded_module.pattern_cells[1], bytes.data() + 2108);
    EXPECT_EQ(loaded_module.pattern_cells[2], bytes.data() + 3132);
    const auto defined = calls_named("define_sample");
    ASSERT_EQ(defined.size(), 1u);
    EXPECT_EQ(defined[0].arguments[1], reinterpret_cast<std::intptr_t>(bytes.data() + 4156));
    // The channel count comes last, once.
    EXPECT_EQ(device_calls.back(), (DeviceCall{"set_channel_count", {4}}));
    EXPECT_EQ(calls_named("set_channel_count").size(), 1u);
}

TEST(Loader, OrderEntriesPastTheSongLengthStillCount)
{
    TestModule module;
    module.song_length = 1;
    module.orders[100] = 5;
    module.cell(5, 0, 0) = {};
    module.sample(3).data = make_wave(4, [](int) { return 9; });
    std::vector<std::uint8_t> bytes = module.bytes();

    install_recording_device();
    ASSERT_EQ(pt_takemod(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(loaded_module.pattern_cells[5], bytes.data() + 1084 + 5 * 1024);
    const auto defined = calls_named("define_sample");
    ASSERT_EQ(defined.size(), 1u);
    EXPECT_EQ(defined[0].arguments[1], reinterpret_cast<std::intptr_t>(bytes.data() + 1084 + 6 * 1024));
}

TEST(Loader, SampleHeadersAndRestartPosition)
{
    TestModule module;
    module.restart = 127;
    module.sample(1) = {make_wave(100, [](int) { return 1; }), 0xF7, 80, 10, 2};
    module.sample(2) = {make_wave(0, [](int) { return 0; }), 3, 20, 0, 0};
    module.sample(3) = {make_wave(40, [](int) { return 3; }), 0, 30, 8, 4};
    std::vector<std::uint8_t> bytes = module.bytes();

    install_recording_device();
    ASSERT_EQ(pt_takemod(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(loaded_module.restart_position, 0);
    EXPECT_EQ(loaded_module.sample_volume[1], 64);
    EXPECT_EQ(loaded_module.sample_finetune[1], 7);
    EXPECT_EQ(loaded_module.sample_volume[3], 30);

    // Sample 2 has no length: not defined, and sample 3's data follows sample 1's.
    const auto defined = calls_named("define_sample");
    ASSERT_EQ(defined.size(), 2u);
    const std::intptr_t data_start = reinterpret_cast<std::intptr_t>(bytes.data() + 1084 + 1024);
    EXPECT_EQ(defined[0].arguments, (std::vector<std::int64_t>{1, data_start, 100, 10, 12, 0, 2}));
    EXPECT_EQ(defined[1].arguments, (std::vector<std::int64_t>{3, data_start + 100, 40, 8, 12, 1, 4}));

    module.restart = 126;
    bytes = module.bytes();
    ASSERT_EQ(pt_takemod(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(loaded_module.restart_position, 126);
}

TEST(Loader, CellsAreRewrittenToNoteIndexes)
{
    TestModule module;
    module.cell(0, 0, 0) = {428, 0x1F, 0xC, 0x40};
    module.cell(0, 0, 1) = {0, 0, 0, 0};
    module.cell(0, 0, 2) = {4000, 0, 0xF, 6};
    module.cell(0, 0, 3) = {27, 0, 0, 0};
    module.cell(0, 1, 0) = {430, 0, 0, 0};   // between notes: the higher one
    module.cell(0, 1, 1) = {3424, 0, 0, 0};
    module.cell(0, 1, 2) = {113, 0, 0, 0};
    module.cell(0, 1, 3) = {3423, 0, 0, 0};
    std::vector<std::uint8_t> bytes = module.bytes();

    install_recording_device();
    ASSERT_EQ(pt_takemod(bytes.data(), bytes.size()), 1);
    const std::uint8_t* row0 = bytes.data() + 1084;
    const std::uint8_t expected0[16] = {0x1F, 36, 0xC, 0x40, 0, 84, 0, 0, 0, 0, 0xF, 6, 0, 84, 0, 0};
    EXPECT_EQ(std::memcmp(row0, expected0, 16), 0);
    const std::uint8_t* row1 = row0 + 16;
    EXPECT_EQ(row1[1], 36);
    EXPECT_EQ(row1[5], 0);
    EXPECT_EQ(row1[9], 59);
    EXPECT_EQ(row1[13], 1);
}

TEST(Loader, SignaturesChooseTheChannelCount)
{
    const std::pair<const char*, int> known[] = {{"2CHN", 2}, {"M!K!", 4},  {"FLT8", 8}, {"OCTA", 8},
                                                 {"6CHN", 6}, {"18CH", 18}, {"32CH", 32}};
    for (const auto& [signature, channels] : known) {
        TestModule module;
        module.signature = signature;
        module.channels = channels;
        module.cell(0, 63, channels - 1) = {856, 1, 0, 0};
        module.sample(1).data = make_wave(2, [](int) { return 1; });
        std::vector<std::uint8_t> bytes = module.bytes();
        install_recording_device();
        ASSERT_EQ(pt_takemod(bytes.data(), bytes.size()), 1) << signature;
        EXPECT_EQ(loaded_module.channel_count, channels) << signature;
        // The last cell of the pattern was found where the channel count puts it.
        EXPECT_EQ(bytes[1084 + 64 * channels * 4 - 3], 24) << signature;
    }
}

TEST(Loader, UnknownSignaturesAreRejectedUntouched)
{
    for (const char* signature : {"STOP", "ABCD", "m.k.", "1CHN"}) {
        TestModule module;
        module.signature = signature;
        module.sample(1).data = make_wave(2, [](int) { return 1; });
        module.cell(0, 0, 0) = {428, 1, 0, 0};
        std::vector<std::uint8_t> bytes = module.bytes();
        const std::vector<std::uint8_t> original = bytes;
        install_recording_device();
        EXPECT_EQ(pt_takemod(bytes.data(), bytes.size()), 0) << signature;
        EXPECT_STREQ(last_error, "pt_takemod error: unknown module type!");
        EXPECT_EQ(loaded_module.channel_count, 0);
        EXPECT_TRUE(device_calls.empty());
        EXPECT_EQ(bytes, original);
    }
}

// The older layout: 15 sample headers and no signature, the patterns at byte 600. The
// player does not take these; bytes 1080-1083 fall inside the first pattern's cells.
TEST(Loader, FifteenSampleModulesAreRejectedAsUnknown)
{
    std::vector<std::uint8_t> bytes(600 + 1024 + 64, 0);
    std::memcpy(bytes.data(), "old fifteen", 11);
    const std::size_t header = 20;
    bytes[header + 22] = 0;   // sample 1: 32 words, full volume
    bytes[header + 23] = 32;
    bytes[header + 25] = 64;
    bytes[470] = 1;   // song length, then restart position and order table
    bytes[471] = 127;
    for (std::size_t cell = 600; cell < 600 + 1024; cell += 4) {
        bytes[cell] = 0x11;   // sample 1, period 428 (C-2), no effect
        bytes[cell + 1] = 0xac;
    }
    const std::vector<std::uint8_t> original = bytes;
    install_recording_device();
    EXPECT_EQ(pt_takemod(bytes.data(), bytes.size()), 0);
    EXPECT_STREQ(last_error, "pt_takemod error: unknown module type!");
    EXPECT_EQ(loaded_module.channel_count, 0);
    EXPECT_TRUE(device_calls.empty());
    EXPECT_EQ(bytes, original);
}
