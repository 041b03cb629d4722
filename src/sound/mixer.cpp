#include "sound/mixer.h"

#include "sound/heard_clock.h"
#include "sound/sound.h"
#include "sound/voices.h"

#include <algorithm>

std::int32_t tick_interval = 0;
std::int32_t segment_carry = 0;

namespace {

std::int32_t tick_rate = 0;   // player ticks per second

std::int32_t accumulator[mix_buffer_samples];

// A one-shot voice that has played to its end stays silent until the player gives
// it a new play position, whatever volume or step the commit copies back.
bool voice_ended[voice_count];

void commit_voices()
{
    for (std::int32_t v = 0; v < mixed_voice_count; ++v) {
        Voice& pending = pending_voices[v];
        Voice& mixing = mixing_voices[v];
        const Voice kept = mixing;
        mixing = pending;
        // A voice that ran to its end lost its step; a new play position brings the
        // player's current one back with it.
        const bool resumes = voice_ended[v] && pending.position_changed;
        if (pending.position_changed) {
            pending.position_changed = 0;
            voice_ended[v] = false;
        } else {
            mixing.position = kept.position;
            mixing.position_fraction = kept.position_fraction;
        }
        if (pending.step_changed) {
            pending.step_changed = 0;
        } else if (!resumes) {
            mixing.step = kept.step;
            mixing.step_fraction = kept.step_fraction;
        }
        mixing.position_changed = 0;
        mixing.step_changed = 0;
    }
}

std::uint32_t voice_factor(const Voice& voice)
{
    const auto volume = static_cast<std::uint32_t>(std::clamp(voice.volume, 0, 255));
    const auto master = static_cast<std::uint32_t>(std::clamp(master_volume, 0, 252));
    return ((volume * master * 255u) >> 7) / 63u;
}

std::uint64_t place_of(const Voice& voice)
{
    return (static_cast<std::uint64_t>(voice.position) << 32) | voice.position_fraction;
}

void store_place(Voice& voice, std::uint64_t place)
{
    voice.position = static_cast<std::uint32_t>(place >> 32);
    voice.position_fraction = static_cast<std::uint32_t>(place);
}

// The byte a voice plays at a position: a loop that lies partly or wholly beyond the
// sample's data reads the loop start's byte there instead, or silence.
std::int32_t safe_sample(const Voice& voice, std::uint32_t position)
{
    if (position < voice.length)
        return voice.data[position];
    if (voice.loop_start < voice.length)
        return voice.data[voice.loop_start];
    return 0;
}

void stop_voice(Voice& voice, int v)
{
    voice.position = 0;
    voice.position_fraction = 0;
    voice.step = 0;
    voice.step_fraction = 0;
    voice.volume = 0;
    voice_ended[v] = true;
}

// A voice being mixed, its 32.32 position and step as single 64-bit numbers (the
// carry from fraction to whole byte is then the ordinary carry of the addition).
struct VoiceRun {
    Voice* voice;
    int index;
    const std::int8_t* data;
    std::uint64_t place;
    std::uint64_t step;
    std::int32_t factor;
    bool stopped;
};

// How many of the next samples (at most limit) the voice can play with no check:
// every position they reach is below the loop end (or the sample's end) and inside
// the data.
std::int64_t safe_run(const VoiceRun& run, std::int64_t limit)
{
    if (run.stopped)
        return limit;
    const Voice& voice = *run.voice;
    const std::uint64_t end = voice.loop_flag
                                  ? std::min<std::uint64_t>(std::uint64_t{voice.loop_end} + 1, voice.length)
                                  : voice.length;
    const std::uint64_t bound = end << 32;
    if (run.place >= bound)
        return 0;
    if (run.step == 0)
        return limit;
    return std::min<std::uint64_t>(static_cast<std::uint64_t>(limit), (bound - 1 - run.place) / run.step);
}

// One sample by the full rules: advance, loop or stop, then the byte times the factor.
std::int32_t play_checked_sample(VoiceRun& run)
{
    if (run.stopped)
        return 0;
    Voice& voice = *run.voice;
    run.place += run.step;
    std::uint32_t position = static_cast<std::uint32_t>(run.place >> 32);
    if (voice.loop_flag) {
        if (position > voice.loop_end) {
            position = voice.loop_start + 1;
            run.place = (std::uint64_t{position} << 32) | static_cast<std::uint32_t>(run.place);
        }
    } else if (position >= voice.length) {
        // Stays in the group as a voice that reads byte 0 (inside its data) times 0.
        stop_voice(voice, run.index);
        run.stopped = true;
        run.place = 0;
        run.step = 0;
        run.factor = 0;
        return 0;
    }
    return safe_sample(voice, position) * run.factor;
}

// Where a group's sums go: added to or stored in the accumulator, or (for the last
// group) converted straight into the stream.
enum class Output { accumulate, pcm16, pcm8 };

struct Sink {
    std::int32_t* accumulator;
    std::uint8_t* stream;
};

void write_pcm16(std::uint8_t* at, std::int32_t value)
{
    const auto sample = static_cast<std::uint16_t>(std::clamp(value, -32768, 32767));
    at[0] = static_cast<std::uint8_t>(sample >> 8);
    at[1] = static_cast<std::uint8_t>(sample);
}

std::uint8_t pcm8(std::int32_t value)
{
    return static_cast<std::uint8_t>(std::clamp(value >> 9, -128, 127) + 128);
}

template <bool add, Output output>
void emit(const Sink& sink, std::int64_t i, std::int32_t sum)
{
    if (add)
        sum += sink.accumulator[i];
    if (output == Output::accumulate)
        sink.accumulator[i] = sum;
    else if (output == Output::pcm16)
        write_pcm16(sink.stream + 2 * i, sum);
    else
        sink.stream[i] = pcm8(sum);
}

// Up to four voices summed sample by sample in registers.
template <int N, bool add, Output output>
void mix_unchecked(VoiceRun* runs, const Sink& sink, std::int64_t first, std::int64_t count)
{
    std::uint64_t place[N];
    std::uint64_t step[N];
    const std::int8_t* data[N];
    std::int32_t factor[N];
    for (int v = 0; v < N; ++v) {
        place[v] = runs[v].place;
        step[v] = runs[v].step;
        data[v] = runs[v].data;
        factor[v] = runs[v].factor;
    }
    for (std::int64_t i = first; i < first + count; ++i) {
        std::int32_t sum = 0;
        // Unrolled, so that each voice's position, step, data and factor stay in
        // registers for the whole run.
#pragma GCC unroll 4
        for (int v = 0; v < N; ++v) {
            place[v] += step[v];
            sum += data[v][place[v] >> 32] * factor[v];
        }
        emit<add, output>(sink, i, sum);
    }
    for (int v = 0; v < N; ++v)
        runs[v].place = place[v];
}

template <int N, bool add, Output output>
void mix_group(VoiceRun* runs, const Sink& sink, std::int32_t count)
{
    std::int32_t done = 0;
    while (done < count) {
        std::int64_t run = count - done;
        for (int v = 0; v < N; ++v)
            run = safe_run(runs[v], run);
        mix_unchecked<N, add, output>(runs, sink, done, run);
        done += static_cast<std::int32_t>(run);
        if (done == count)
            break;
        std::int32_t sum = 0;
        for (int v = 0; v < N; ++v)
            sum += play_checked_sample(runs[v]);
        emit<add, output>(sink, done++, sum);
    }
}

template <bool add, Output output>
void mix_group_of(int size, VoiceRun* runs, const Sink& sink, std::int32_t count)
{
    switch (size) {
    case 1: mix_group<1, add, output>(runs, sink, count); break;
    case 2: mix_group<2, add, output>(runs, sink, count); break;
    case 3: mix_group<3, add, output>(runs, sink, count); break;
    default: mix_group<4, add, output>(runs, sink, count); break;
    }
}

template <bool add>
void mix_group_into(int size, VoiceRun* runs, const Sink& sink, std::int32_t count, bool last,
                    std::int32_t bits)
{
    if (!last)
        mix_group_of<add, Output::accumulate>(size, runs, sink, count);
    else if (bits == 16)
        mix_group_of<add, Output::pcm16>(size, runs, sink, count);
    else
        mix_group_of<add, Output::pcm8>(size, runs, sink, count);
}

// Every voice that can be heard, four at a time, into count output samples: the
// groups before the last sum into the accumulator, the last converts into the stream.
void mix_voices(std::uint8_t* stream, std::int32_t count, std::int32_t bits)
{
    VoiceRun runs[voice_count];
    int active = 0;
    for (std::int32_t v = 0; v < mixed_voice_count; ++v) {
        Voice& voice = mixing_voices[v];
        if (voice.length == 0 || voice.volume == 0 || !voice.data || voice_ended[v])
            continue;
        runs[active++] = {&voice,
                          v,
                          voice.data,
                          place_of(voice),
                          (std::uint64_t{voice.step} << 32) | voice.step_fraction,
                          static_cast<std::int32_t>(voice_factor(voice)),
                          false};
    }
    if (active == 0) {
        for (std::int32_t i = 0; i < count; ++i) {
            if (bits == 16)
                write_pcm16(stream + 2 * i, 0);
            else
                stream[i] = pcm8(0);
        }
        return;
    }
    const Sink sink{accumulator, stream};
    for (int first = 0; first < active; first += 4) {
        const int size = std::min(4, active - first);
        const bool last = first + 4 >= active;
        if (first == 0)
            mix_group_into<false>(size, runs + first, sink, count, last, bits);
        else
            mix_group_into<true>(size, runs + first, sink, count, last, bits);
    }
    for (int r = 0; r < active; ++r)
        if (!runs[r].stopped)
            store_place(*runs[r].voice, runs[r].place);
}

}   // namespace

std::int32_t segment_length()
{
    const std::int32_t rate = sound_mode == 1 ? 22050 : 44100;
    const std::int32_t length = tick_rate > 0 ? rate / tick_rate : rate;
    return length > 0 ? length : 1;
}

void set_tick_rate(std::int32_t ticks_per_second)
{
    tick_rate = ticks_per_second > 0 ? ticks_per_second : 1;
    tick_interval = 1000 / tick_rate;
    segment_carry = 0;
}

void mix_chunk(std::uint8_t* stream, std::int32_t count, std::int32_t bits)
{
    commit_voices();
    const std::int32_t bytes_per_sample = bits == 16 ? 2 : 1;
    for (std::int32_t done = 0; done < count; done += mix_buffer_samples) {
        const std::int32_t piece = std::min(count - done, mix_buffer_samples);
        mix_voices(stream + done * bytes_per_sample, piece, bits);
    }
}

namespace {

// Runs one tick of the player at `sample` of the stream and notes where it left the
// music, for the heard clock.
void tick_at(std::int64_t sample)
{
    pt_tick();
    heard_clock_record_tick(sample, music_position());
}

}   // namespace

void audio_fill(void* /*userdata*/, std::uint8_t* stream, int length)
{
    const std::int32_t bits = sound_mode == 1 ? 8 : 16;
    const std::int32_t samples = bits == 16 ? length / 2 : length;
    const std::int32_t segment = segment_length();
    const std::int32_t bytes_per_sample = bits / 8;
    const std::int64_t first_sample = heard_clock_samples();
    std::int32_t pos = 0;
    if (segment_carry > 0) {
        // The end of the segment begun in the previous buffer.
        pos = std::min(segment_carry, samples);
        mix_chunk(stream, pos, bits);
        segment_carry -= pos;
        if (segment_carry > 0) {
            heard_clock_advance(samples);
            return;
        }
    }
    while (pos + segment <= samples) {
        tick_at(first_sample + pos);
        mix_chunk(stream + pos * bytes_per_sample, segment, bits);
        pos += segment;
    }
    tick_at(first_sample + pos);
    mix_chunk(stream + pos * bytes_per_sample, samples - pos, bits);
    segment_carry = segment - (samples - pos);
    heard_clock_advance(samples);
}
