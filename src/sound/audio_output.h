// Opening the audio output: the one step of the SDL audio device that differs between
// platforms. Each build links exactly one definition (this folder's for the desktop).
#pragma once

#include <atomic>
#include <cstdint>

// Opens SDL audio, mono, 2048-sample buffers, at 44100 Hz (16-bit samples) or below
// (unsigned 8-bit), with audio_fill delivering the stream; paused until music_play.
// Returns false when SDL refuses the device, or when opening it has not ended after 2 s
// (a sound server that never answers): then it sets audio_thread_may_block.
bool open_audio_output(std::int32_t rate);

// Set when a thread of SDL's audio was left blocked (an opening that did not end):
// closing audio would then wait for ever. Defined with the music clock, for every
// platform; any thread.
extern std::atomic<bool> audio_thread_may_block;

// Set by a platform's output once it had to hold the stream back to the wall clock: the
// device takes sound faster than it plays it.
extern std::atomic<bool> output_outran_clock;

// The sample of the stream (counted as heard_clock_samples counts them) that the listener
// hears now: the samples handed to the output, less those still queued and the output's
// latency; never below 0 nor above the samples handed. Where the platform cannot report
// the queue or the latency, an estimate. Any thread.
std::int64_t output_heard_sample();
