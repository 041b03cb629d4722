#include "sound/audio_output.h"

#include "sound/music_output.h"
#include "sound/heard_clock.h"
#include "sound/pacing.h"
#include "sound/sound.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// Module-level so that it outlives the SDL_OpenAudio call.
SDL_AudioSpec audio_spec;

// Touched only on SDL's audio thread once the device plays; set before it starts.
StreamPace stream_pace;

// A device that does not block (a null output) would take the whole song in a moment.
// Waits, as a real device would, while the player is too far ahead of the wall clock;
// false when it is still ahead afterwards. A real device never gets that far ahead, so
// with one this never waits.
bool keep_stream_in_step()
{
    constexpr std::uint32_t longest_wait_ms = 50;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::int64_t excess = stream_excess(stream_pace, SDL_GetTicks());
        if (excess == 0)
            return true;
        output_outran_clock.store(true, std::memory_order_relaxed);
        SDL_Delay(std::min(excess_ms(stream_pace, excess), longest_wait_ms));
    }
    return stream_excess(stream_pace, SDL_GetTicks()) == 0;
}

// SDL 1.2 reports neither how much sound its output holds queued nor the output's
// latency, so the heard sample is estimated from what can be seen: the device calls
// for a buffer when it has room for one, so at a callback the sample heard is the one
// handed over `queued_buffers` buffers earlier, and from there the sound runs on at the
// output's rate. Callbacks come late (the audio thread waits for the processor), never
// early: of the recent callbacks, the earliest for its place in the stream sets the
// phase. The buffer is the one the device really took (the callback's length: drivers
// halve or round the 2,048 samples asked for); queued_buffers was measured against a
// PulseAudio server (docs/sync.md).
constexpr std::int32_t phase_window = 16;   // callbacks

struct HeardEstimate {
    std::int32_t rate;
    std::int64_t phases[phase_window];   // stream sample heard at time 0, per callback
    std::int64_t callbacks;
};

// Audio thread only.
HeardEstimate estimate;

// Published for output_heard_sample: the stream sample heard at time 0 (in samples; the
// clock's zero is arbitrary), and whether a callback has come yet.
std::atomic<std::int64_t> heard_phase{0};
std::atomic<bool> phase_known{false};

// Buffers between the one being handed over and the one heard (tenths of a buffer):
// from measurements through a PulseAudio server, per library (the classic SDL 1.2 or
// the compatibility library over SDL 2, which reports version 1.2.50 and later) and
// driver. A hardware sink's own latency comes on top and cannot be seen from here.
struct QueueGuess {
    bool compatibility;
    const char* driver_prefix;
    std::int32_t tenths;
};
constexpr QueueGuess queue_guesses[] = {
    {false, "pulse", 18},   // 1,024-sample buffers
    {true, "pulse", 5},     // 2,048
    {false, "alsa", 18},    // 2,048, through ALSA's pulse plugin
    {true, "alsa", 28},     // 2,048, likewise
};
constexpr std::int32_t unknown_queue_tenths = 20;

std::atomic<std::int32_t> queued_tenths{unknown_queue_tenths};

std::int32_t guess_queue_tenths()
{
    const SDL_version* linked = SDL_Linked_Version();
    const bool compatibility = linked && linked->patch >= 50;
    char driver[32] = "";
    if (!SDL_AudioDriverName(driver, sizeof driver))
        return unknown_queue_tenths;
    for (const QueueGuess& guess : queue_guesses)
        if (guess.compatibility == compatibility &&
            std::strncmp(driver, guess.driver_prefix, std::strlen(guess.driver_prefix)) == 0)
            return guess.tenths;
    return unknown_queue_tenths;
}

std::int64_t now_us()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// Samples at `rate` that `us` microseconds hold, rounded down.
std::int64_t samples_in(std::int64_t us, std::int32_t rate)
{
    return us / 1000000 * rate + us % 1000000 * rate / 1000000;
}

void note_callback(std::int64_t at_us, std::int32_t buffer_samples)
{
    const std::int64_t queued = buffer_samples * queued_tenths.load(std::memory_order_relaxed) / 10;
    const std::int64_t heard_then = heard_clock_samples() - queued;
    const std::int64_t phase = heard_then - samples_in(at_us, estimate.rate);
    // More than a buffer behind the phase so far: the output stood still (its start,
    // after taking the first buffers in a burst, or a dropout), and the sound heard
    // from now on is later than the earlier callbacks said. They are forgotten.
    if (estimate.callbacks > 0 && phase < heard_phase.load(std::memory_order_relaxed) - buffer_samples)
        estimate.callbacks = 0;
    estimate.phases[estimate.callbacks % phase_window] = phase;
    ++estimate.callbacks;
    const std::int64_t kept = std::min<std::int64_t>(estimate.callbacks, phase_window);
    heard_phase.store(*std::max_element(estimate.phases, estimate.phases + kept), std::memory_order_relaxed);
    phase_known.store(true, std::memory_order_release);
}

// The SDL device's callback: the mixer's audio_fill, kept in step with the wall clock.
void sdl_device_fill(void* userdata, Uint8* stream, int length)
{
    // After a pause the wall clock has run on without the stream: its pace starts over.
    static std::uint32_t restarts_seen = 0;
    if (restarts_seen != output_restarts) {
        restarts_seen = output_restarts;
        stream_pace = start_stream_pace(stream_pace.rate);
    }
    note_callback(now_us(), sound_mode == 1 ? length : length / 2);
    if (!keep_stream_in_step()) {
        // Silence, and no tick: the music waits for the clock.
        std::memset(stream, sound_mode == 1 ? 0x80 : 0, static_cast<std::size_t>(length));
        heard_clock_advance(sound_mode == 1 ? length : length / 2);
        return;
    }
    audio_fill(userdata, stream, length);
    stream_pace.samples_played += sound_mode == 1 ? length : length / 2;
}

}   // namespace

namespace {

// Opening audio can block for good (the classic library connecting to a PulseAudio
// server that accepts and never answers), so it runs on a thread of its own that is
// left behind when it takes too long. Module-level: a thread left behind still writes
// here.
enum class OpenState { pending, opened, refused };
std::atomic<OpenState> open_state{OpenState::pending};
constexpr auto longest_open = std::chrono::seconds(2);

void open_on_own_thread()
{
    // Audio starts apart from video and timers, so that a sound server that is not
    // running only costs the sound.
    const bool opened = (SDL_WasInit(SDL_INIT_AUDIO) || SDL_InitSubSystem(SDL_INIT_AUDIO) >= 0) &&
                        // No spec for what the device obtained: given one, SDL 1.2 would
                        // hand the callback the device's own format instead of converting
                        // to the one asked for. The buffer the device took shows in the
                        // callback's length.
                        SDL_OpenAudio(&audio_spec, nullptr) >= 0;
    open_state.store(opened ? OpenState::opened : OpenState::refused, std::memory_order_release);
}

}   // namespace

bool open_audio_output(std::int32_t rate)
{
    audio_spec = SDL_AudioSpec{};
    audio_spec.freq = rate;
    audio_spec.format = rate < 44100 ? AUDIO_U8 : AUDIO_S16MSB;
    audio_spec.channels = 1;
    audio_spec.samples = 2048;
    audio_spec.callback = sdl_device_fill;
    audio_spec.userdata = nullptr;
    stream_pace = start_stream_pace(rate);
    estimate = HeardEstimate{rate, {}, 0};
    phase_known.store(false, std::memory_order_relaxed);
    open_state.store(OpenState::pending, std::memory_order_relaxed);
    std::thread(open_on_own_thread).detach();
    const auto give_up_at = std::chrono::steady_clock::now() + longest_open;
    while (open_state.load(std::memory_order_acquire) == OpenState::pending &&
           std::chrono::steady_clock::now() < give_up_at)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    switch (open_state.load(std::memory_order_acquire)) {
    case OpenState::opened: queued_tenths.store(guess_queue_tenths(), std::memory_order_relaxed); return true;
    case OpenState::refused: return false;
    case OpenState::pending: break;
    }
    // Left blocked: the device, should it ever open, stays paused. Closing audio would
    // wait for that thread.
    audio_thread_may_block.store(true);
    SDL_SetError("the sound output did not open within %d s", static_cast<int>(longest_open.count()));
    return false;
}

std::int64_t output_heard_sample()
{
    if (!phase_known.load(std::memory_order_acquire))
        return 0;
    const std::int64_t handed = heard_clock_samples();
    const std::int64_t heard =
        heard_phase.load(std::memory_order_relaxed) + samples_in(now_us(), estimate.rate);
    return std::clamp<std::int64_t>(heard, 0, handed);
}
