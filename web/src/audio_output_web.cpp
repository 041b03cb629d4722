// The browser's audio output. Emscripten's SDL takes 16-bit samples only in little-endian
// order, while the mixer writes them big-endian as the desktop device asks: the device
// is opened little-endian and each buffer's bytes are swapped on their way out, so the
// mixer and the offline renderers stay the same on every platform.
//
// What is heard: Emscripten's SDL schedules each filled buffer as a Web Audio source
// starting at a context time of its choosing (after the one before, or later when the
// queue ran dry). The page keeps, for the last buffers scheduled, that start time and
// the stream sample the buffer begins with; the context time the listener hears now
// comes from the browser's output timestamp (or its output latency), and the buffer
// playing at that time gives the sample.
#include "sound/audio_output.h"

#include "sound/heard_clock.h"
#include "sound/sound.h"

#include <SDL.h>
#include <emscripten.h>

#include <algorithm>
#include <utility>

namespace {

SDL_AudioSpec audio_spec;

void fill_little_endian(void* userdata, Uint8* stream, int length)
{
    audio_fill(userdata, stream, length);
    if (audio_spec.format != AUDIO_S16LSB)
        return;
    for (int i = 0; i + 1 < length; i += 2)
        std::swap(stream[i], stream[i + 1]);
}

// The two functions below are JavaScript, which clang-format would mangle.
// clang-format off
// Wraps the freshly opened device's scheduling: each call fills one buffer (the stream
// counts it whether or not it is played); a buffer played adds its start time and first
// sample to SDL.audio.heardBuffers, oldest first, at most 32 kept. The sources not yet
// played out are kept in SDL.audio.sources, so that web_main.cpp can stop the sound
// where it is heard rather than let the queue play on.
EM_JS(void, track_scheduled_buffers, (), {
    var audio = SDL.audio;
    var context = SDL.audioContext;
    if (!audio || !context || audio.heardBuffers)
        return;
    var push = audio.pushAudio;
    audio.heardBuffers = [];
    audio.samplesFilled = 0;
    audio.sources = [];
    if (!context.hasOwnProperty('createBufferSource')) {
        var create = context.createBufferSource;
        context.createBufferSource = function() {
            var source = create.call(context);
            var open = SDL.audio;
            if (open && open.sources) {
                open.sources.push(source);
                source.addEventListener('ended', function() {
                    var at = open.sources.indexOf(source);
                    if (at >= 0)
                        open.sources.splice(at, 1);
                });
            }
            return source;
        };
    }
    audio.pushAudio = function(ptr, sizeBytes) {
        var first = audio.samplesFilled;
        var before = audio.nextPlayTime;
        audio.samplesFilled += audio.samples;
        push(ptr, sizeBytes);
        // A paused device drops the buffer, leaving nextPlayTime as it was.
        if (audio.nextPlayTime === before)
            return;
        audio.heardBuffers.push({start: audio.nextPlayTime - audio.bufferDurationSecs, first: first});
        if (audio.heardBuffers.length > 32)
            audio.heardBuffers.shift();
    };
});

// The stream sample heard now, or -1 without a device. The context time heard is the
// output timestamp carried forward to now while the context runs; a browser without
// output timestamps gets currentTime less the output latency it reports.
EM_JS(double, scheduled_sample_heard, (), {
    var audio = SDL.audio;
    var context = SDL.audioContext;
    if (!audio || !context || !audio.heardBuffers)
        return -1;
    var heard;
    var stamp = context.getOutputTimestamp ? context.getOutputTimestamp() : null;
    if (stamp && stamp.performanceTime > 0) {
        heard = stamp.contextTime;
        if (context.state === 'running')
            heard += Math.max(0, performance.now() - stamp.performanceTime) / 1000;
        heard = Math.min(heard, context.currentTime);
    } else {
        heard = context.currentTime - (context.outputLatency || context.baseLatency || 0);
    }
    var buffers = audio.heardBuffers;
    // Buffers whose successor has begun are over.
    while (buffers.length > 1 && buffers[1].start <= heard)
        buffers.shift();
    if (!buffers.length)
        return 0;
    var playing = buffers[0];
    if (heard <= playing.start)
        return playing.first;
    // Past its end with nothing after it, the queue ran dry: its last sample was heard.
    return playing.first + Math.min(audio.samples, Math.floor((heard - playing.start) * audio.freq));
});
// clang-format on

}   // namespace

bool open_audio_output(std::int32_t rate)
{
    audio_spec = SDL_AudioSpec{};
    audio_spec.freq = rate;
    audio_spec.format = rate < 44100 ? AUDIO_U8 : AUDIO_S16LSB;
    audio_spec.channels = 1;
    audio_spec.samples = 2048;
    audio_spec.callback = fill_little_endian;
    audio_spec.userdata = nullptr;
    // The display's SDL_Init leaves audio out, as on the desktop.
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        return false;
    if (SDL_OpenAudio(&audio_spec, nullptr) < 0)
        return false;
    track_scheduled_buffers();
    return true;
}

std::int64_t output_heard_sample()
{
    const double heard = scheduled_sample_heard();
    const std::int64_t handed = heard_clock_samples();
    if (heard < 0)
        return handed;
    return std::clamp(static_cast<std::int64_t>(heard), std::int64_t{0}, handed);
}
