// Mixing speed in seconds of audio per second of CPU ("x_realtime"): the mixer alone
// at 44100 Hz 16-bit with 4 and 8 looping voices, and tinkettles-music's whole
// rendering path (loader, player, callback, WAV file) over a module. Beside them, what
// the heard clock adds: one record per player tick on the audio thread (a tick mixes
// 938 samples), and one look-up per frame on the main thread.
#include "sound/devices.h"
#include "sound/heard_clock.h"
#include "sound/music_render.h"
#include "sound/sound.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int rate = 44100;

// Looping samples of different lengths and pitches, so that loop ends fall at
// different places in every buffer.
void start_looping_voices(int voices, std::vector<std::vector<std::int8_t>>& samples)
{
    install_sdl_device(2);
    sound_device.set_channel_count(voices);
    samples.resize(static_cast<std::size_t>(voices));
    for (int v = 0; v < voices; ++v) {
        auto& data = samples[static_cast<std::size_t>(v)];
        data.resize(static_cast<std::size_t>(2000 + 700 * v));
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<std::int8_t>((i * (v + 3)) % 256);
        const int length = static_cast<int>(data.size());
        sound_device.define_sample(v + 1, data.data(), length, 100, length, 1, length - 100);
        sound_device.select_channel(v);
        sound_device.set_channel_sample(v + 1);
        sound_device.set_volume(48);
        sound_device.set_period(160 + 90 * v);
        sound_device.set_position(0);
    }
}

void mix_voices(benchmark::State& state)
{
    std::vector<std::vector<std::int8_t>> samples;
    start_looping_voices(static_cast<int>(state.range(0)), samples);
    std::uint8_t stream[2048 * 2];
    std::int64_t mixed = 0;
    for (auto _ : state) {
        mix_chunk(stream, 2048, 16);
        benchmark::DoNotOptimize(stream);
        mixed += 2048;
    }
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(mixed) / rate, benchmark::Counter::kIsRate);
}
BENCHMARK(mix_voices)->Arg(4)->Arg(8);

void heard_clock_record(benchmark::State& state)
{
    heard_clock_reset(0);
    std::int64_t sample = 0;
    for (auto _ : state) {
        heard_clock_record_tick(sample, static_cast<std::int32_t>(sample & 0xFFFF));
        sample += 938;
    }
}
BENCHMARK(heard_clock_record);

// The sample heard lies three ticks behind the newest, as through PulseAudio.
void heard_clock_look_up(benchmark::State& state)
{
    heard_clock_reset(0);
    for (std::int64_t k = 0; k < 1000; ++k)
        heard_clock_record_tick(k * 938, static_cast<std::int32_t>(k));
    for (auto _ : state)
        benchmark::DoNotOptimize(heard_position_at(996 * 938 + 17));
}
BENCHMARK(heard_clock_look_up);

// The demo's module when it is there; otherwise a busy four-channel stand-in of 25
// orders, a note on every channel every other row.
std::vector<std::uint8_t> module_to_render()
{
    std::vector<std::uint8_t> bytes(module_buffer_bytes);
    const ModuleRead read = read_module_file(TK_SOURCE_DIR "/data/da_wobble.mod", bytes.data());
    if (!module_read_failed(read)) {
        bytes.resize(read.size);
        return bytes;
    }
    constexpr int patterns = 8;
    constexpr int sample_bytes = 4000;
    bytes.assign(1084 + patterns * 1024 + 4 * sample_bytes, 0);
    for (int s = 0; s < 4; ++s) {
        std::uint8_t* header = bytes.data() + 20 + 30 * s;
        header[22] = sample_bytes / 2 >> 8;
        header[23] = sample_bytes / 2 & 0xFF;
        header[25] = 50;
        header[28] = sample_bytes / 4 >> 8;   // the second half loops
        header[29] = sample_bytes / 4 & 0xFF;
        header[26] = header[28];
        header[27] = header[29];
    }
    bytes[950] = 25;
    for (int i = 0; i < 25; ++i)
        bytes[952 + i] = static_cast<std::uint8_t>(i % patterns);
    std::memcpy(bytes.data() + 1080, "M.K.", 4);
    static const int periods[] = {428, 381, 339, 320, 285, 254, 226, 214};
    for (int cell = 0; cell < patterns * 256; ++cell) {
        const int row = cell / 4 % 64;
        if (row % 2 != 0)
            continue;
        const int channel = cell % 4;
        const int period = periods[(row / 2 + channel * 3) % 8];
        std::uint8_t* at = bytes.data() + 1084 + cell * 4;
        at[0] = static_cast<std::uint8_t>(period >> 8);
        at[1] = static_cast<std::uint8_t>(period);
        at[2] = static_cast<std::uint8_t>(((channel + 1) << 4) | (channel == 1 ? 0xA : 0x4));
        at[3] = channel == 1 ? 0x01 : 0x46;
    }
    for (int i = 0; i < 4 * sample_bytes; ++i)
        bytes[1084 + patterns * 1024 + i] = static_cast<std::uint8_t>((i * 7 / (1 + i / sample_bytes)) % 256);
    return bytes;
}

void render_whole_module(benchmark::State& state)
{
    const std::vector<std::uint8_t> original = module_to_render();
    std::vector<std::uint8_t> buffer(module_buffer_bytes);
    std::int64_t rendered = 0;
    for (auto _ : state) {
        // The loader rewrites the buffer: each run starts from the file's bytes.
        std::memcpy(buffer.data(), original.data(), original.size());
        std::FILE* out = std::tmpfile();
        RenderResult result;
        if (!out || !render_music(buffer.data(), original.size(), out, RenderRequest{}, &result)) {
            state.SkipWithError("rendering failed");
            break;
        }
        std::fclose(out);
        rendered += result.samples;
    }
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(rendered) / rate, benchmark::Counter::kIsRate);
}
BENCHMARK(render_whole_module)->Unit(benchmark::kMillisecond);

}   // namespace

BENCHMARK_MAIN();
