// The synthesiser on the demo's own settings: every sample fits the format, loops
// where it should, stays inside 8 bits, and every tone is in tune.
#include "compose_fixtures.h"
#include "notes.h"
#include "synth.h"
#include "whole_file.h"

#include <cmath>

namespace {

compose::SampleSet demo_settings()
{
    std::string text;
    EXPECT_TRUE(read_whole_file("test", TK_SOURCE_DIR "/assets/music/da_wobble.samples", text));
    Diagnostics diags;
    compose::SampleSet set = compose::parse_settings(text, "da_wobble.samples", diags);
    EXPECT_TRUE(diags.errors.empty()) << format_diagnostics(diags);
    return set;
}

// Amplitude of the component that runs `cycles` whole cycles through the bytes.
double component(const std::int8_t* bytes, int count, int cycles)
{
    double re = 0, im = 0;
    for (int i = 0; i < count; ++i) {
        double angle = 2.0 * 3.141592653589793 * cycles * i / count;
        re += bytes[i] * std::cos(angle);
        im += bytes[i] * std::sin(angle);
    }
    return 2.0 * std::sqrt(re * re + im * im) / count;
}

}   // namespace

TEST(ComposeSynth, EverySampleFitsTheFormatAndStaysInsideEightBits)
{
    compose::SampleSet set = demo_settings();
    int described = 0;
    for (int s = 1; s <= compose::max_samples; ++s) {
        const compose::SampleSpec& spec = set.samples[s];
        if (spec.kind == compose::VoiceKind::none)
            continue;
        ++described;
        compose::SampleData data = compose::synthesise(spec);
        SCOPED_TRACE(spec.name);
        int size = static_cast<int>(data.bytes.size());
        ASSERT_GT(size, 0);
        EXPECT_LE(size, 131070);
        EXPECT_EQ(size % 2, 0);
        // No clipping: the peak is reached, never held at the rails.
        int at_rail = 0;
        int longest_run = 0;
        int run = 0;
        for (std::int8_t v : data.bytes) {
            bool rail = v >= 127 || v <= -127;
            at_rail += rail;
            run = rail ? run + 1 : 0;
            longest_run = std::max(longest_run, run);
            EXPECT_NE(v, -128);
        }
        EXPECT_LE(longest_run, 2);
        EXPECT_LE(at_rail, size / 500 + 2);
        if (spec.kind == compose::VoiceKind::tone && spec.loop > 0) {
            // A held sound loops from an even byte to its very end.
            EXPECT_EQ(data.loop_start % 2, 0);
            EXPECT_EQ(data.loop_length % 2, 0);
            EXPECT_GT(data.loop_length, 2);
            EXPECT_EQ(data.loop_start + data.loop_length, size);
        } else {
            // A one-shot rings out to silence, so that its end makes no click.
            EXPECT_EQ(data.loop_length, 0);
            EXPECT_EQ(data.bytes.back(), 0);
        }
        if (spec.kind != compose::VoiceKind::tone) {
            // A drum lasts its length at the rate of the note it is written with.
            double expected = spec.length * compose::period_clock / compose::note_period(spec.note);
            EXPECT_NEAR(size, expected, 2.0);
        }
    }
    // Kick, snare, hats, bass, lead, pads and more.
    EXPECT_GE(described, 6);
}

TEST(ComposeSynth, EveryToneLoopsInTuneWithItsNoteNames)
{
    // Played at C-2 (period 428), a sample is read at 3546836 / 428 bytes a second,
    // and its loop must hold whole cycles of the C of the sample's octave:
    // 261.6256 Hz (middle C) times a power of two.
    compose::SampleSet set = demo_settings();
    double rate = compose::period_clock / 428.0;
    int tones = 0;
    for (int s = 1; s <= compose::max_samples; ++s) {
        const compose::SampleSpec& spec = set.samples[s];
        if (spec.kind != compose::VoiceKind::tone || spec.loop <= 0)
            continue;
        ++tones;
        SCOPED_TRACE(spec.name);
        compose::SampleData data = compose::synthesise(spec);
        double root = 261.6256 * std::pow(2.0, spec.octave - 4);
        double wanted_cycles = root * data.loop_length / rate;
        int cycles = static_cast<int>(std::lround(wanted_cycles));
        double cents = 1200.0 * std::log2(cycles / wanted_cycles);
        EXPECT_LT(std::fabs(cents), 1.0);
        // And the root really sounds. Detuned copies sit a cycle or so either side
        // of it, so weigh the components within the detune: their centre is the root.
        const std::int8_t* loop = data.bytes.data() + data.loop_start;
        int spread = static_cast<int>(std::ceil(cycles * (std::pow(2.0, spec.detune / 1200.0) - 1.0))) + 1;
        double weight = 0;
        double centre = 0;
        for (int k = cycles - spread; k <= cycles + spread; ++k) {
            double a = component(loop, data.loop_length, k);
            weight += a;
            centre += a * k;
        }
        centre /= weight;
        EXPECT_LT(std::fabs(1200.0 * std::log2(centre / wanted_cycles)), 1.5);
        double off_root =
            component(loop, data.loop_length, static_cast<int>(std::lround(wanted_cycles * 1.03)));
        EXPECT_GT(weight, 10.0);
        EXPECT_GT(weight, 8.0 * off_root);
    }
    EXPECT_GE(tones, 3);
}

TEST(ComposeSynth, TheHeldPartRepeatsWithoutASeam)
{
    // Continuing the loop past its end must look like the bytes just before it:
    // the step from the last byte back to the loop start is no larger than the
    // steps inside the loop.
    compose::SampleSet set = demo_settings();
    for (int s = 1; s <= compose::max_samples; ++s) {
        const compose::SampleSpec& spec = set.samples[s];
        if (spec.kind != compose::VoiceKind::tone || spec.loop <= 0)
            continue;
        SCOPED_TRACE(spec.name);
        compose::SampleData data = compose::synthesise(spec);
        int largest_step = 0;
        for (std::size_t i = static_cast<std::size_t>(data.loop_start) + 1; i < data.bytes.size(); ++i)
            largest_step = std::max(largest_step, std::abs(data.bytes[i] - data.bytes[i - 1]));
        int seam = std::abs(data.bytes[static_cast<std::size_t>(data.loop_start)] - data.bytes.back());
        EXPECT_LE(seam, largest_step);
    }
}
