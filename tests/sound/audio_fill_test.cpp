// The callback's tick segments: one pt_tick before each segment of rate / tick rate
// samples, segments running on unbroken from one buffer into the next.
#include "sound/mixer.h"
#include "sound/module_writer.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Speed 1 from the first row: every tick is a row, so the music position counts the
// ticks run (position = ticks - 1 within the first pattern).
std::vector<std::uint8_t> one_tick_rows()
{
    TestModule module;
    module.cell(0, 0, 0) = {0, 0, 0xF, 1};
    return module.bytes();
}

// A module that exercises the voices: looping and one-shot samples, slides, volume
// changes, retriggers and offsets over two orders.
std::vector<std::uint8_t> busy_module()
{
    TestModule module;
    module.song_length = 2;
    module.orders[1] = 1;
    module.sample(1) = {make_wave(256, [](int i) { return (i * 7) % 200 - 100; }), 0, 50, 64, 128};
    module.sample(2) = {make_wave(3000, [](int i) { return (i * 13) % 255 - 127; }), 3, 64, 0, 0};
    for (int pattern = 0; pattern < 2; ++pattern) {
        for (int row = 0; row < 64; row += 2) {
            module.cell(pattern, row, 0) = {period_of_note(24 + (row / 2) % 24), 1, 0x4, 0x46};
            module.cell(pattern, row + 1, 1) = {period_of_note(30 + row % 12), 2, 0xA, 0x02};
        }
        module.cell(pattern, 5, 2) = {214, 2, 0x9, 0x04};
        module.cell(pattern, 9, 3) = {856, 1, 0x3, 0x10};
        module.cell(pattern, 12, 3) = {0, 0, 0xE, 0x93};
    }
    module.cell(0, 0, 2) = {0, 0, 0xF, 3};
    return module.bytes();
}

// Renders samples through audio_fill in buffers of the given sample counts, cycled.
std::vector<std::uint8_t> render(std::vector<std::uint8_t> bytes, int mode, std::size_t samples,
                                 const std::vector<int>& buffer_samples)
{
    MusicStream stream;
    EXPECT_EQ(start_music_stream(&stream, mode, bytes.data(), bytes.size()), nullptr);
    std::vector<std::uint8_t> out(samples * stream.bytes_per_sample);
    for (std::size_t i = 0; stream.samples < static_cast<std::int64_t>(samples); ++i) {
        const auto done = static_cast<std::size_t>(stream.samples);
        const std::size_t n =
            std::min<std::size_t>(buffer_samples[i % buffer_samples.size()], samples - done);
        next_music_buffer(&stream, out.data() + done * stream.bytes_per_sample, static_cast<std::int32_t>(n));
    }
    return out;
}

}   // namespace

// One callback and what is expected after it: the music position (ticks run - 1)
// and the samples of the current segment still to mix.
struct Fill {
    int samples;
    std::int32_t position;
    std::int32_t carry;
};

void expect_fills(int mode, std::int32_t segment, const std::vector<Fill>& fills)
{
    std::vector<std::uint8_t> bytes = one_tick_rows();
    MusicStream stream;
    ASSERT_EQ(start_music_stream(&stream, mode, bytes.data(), bytes.size()), nullptr);
    EXPECT_EQ(segment_length(), segment);
    std::vector<std::uint8_t> out(4096);
    for (std::size_t i = 0; i < fills.size(); ++i) {
        next_music_buffer(&stream, out.data(), fills[i].samples);
        EXPECT_EQ(music_position(), fills[i].position) << "mode " << mode << ", buffer " << i;
        EXPECT_EQ(segment_carry, fills[i].carry) << "mode " << mode << ", buffer " << i;
        const MusicPlace place = music_place();
        EXPECT_EQ(place.order * 100 + place.row, fills[i].position) << "mode " << mode << ", buffer " << i;
    }
}

TEST(AudioFill, SegmentsCarryIntoTheNextBuffer)
{
    // 22050 Hz: ticks at 0, 469, 938, 1407 and 1876, 297 samples of the fifth segment
    // left; then those 297, three whole segments, a tick and 344 samples.
    expect_fills(1, 469, {{2048, 4, 297}, {2048, 8, 125}});
    // 44100 Hz, 2048 samples a buffer: ticks at 0, 938 and 1876, 766 left.
    expect_fills(2, 938, {{2048, 2, 766}, {2048, 4, 594}});
}

TEST(AudioFill, BufferEndingOnASegmentBoundary)
{
    // Ticks at 0 and 469, and one more at the very end with nothing mixed; the next
    // buffer begins with that whole segment and, as long as it, ends on a boundary
    // again, with one more tick at its end.
    expect_fills(1, 469, {{938, 2, 469}, {469, 3, 469}, {470, 4, 468}});
}

TEST(AudioFill, OutputDoesNotDependOnBufferSizes)
{
    for (int mode : {1, 2}) {
        const std::size_t samples = mode == 2 ? 44100 * 6 : 22050 * 6;
        const auto reference = render(busy_module(), mode, samples, {2048});
        const auto uneven = render(busy_module(), mode, samples, {1, 469, 1000, 37, 938, 4000});
        EXPECT_EQ(reference, uneven) << "mode " << mode;
        // Not silence: the module is really heard.
        std::size_t changes = 0;
        for (std::size_t i = 1; i < reference.size(); ++i)
            changes += reference[i] != reference[i - 1];
        EXPECT_GT(changes, reference.size() / 4) << "mode " << mode;
    }
}
