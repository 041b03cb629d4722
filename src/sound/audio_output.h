// Opening the audio output: the one step of the SDL audio device that differs between
// platforms. Each build links exactly one definition (this folder's for the desktop).
#pragma once

#include <cstdint>

// Opens SDL audio, mono, 2048-sample buffers, at 44100 Hz (16-bit samples) or below
// (unsigned 8-bit), with audio_fill delivering the stream; paused until music_play.
// Returns false when SDL refuses the device.
bool open_audio_output(std::int32_t rate);

// The sample of the stream (counted as heard_clock_samples counts them) that the listener
// hears now: the samples handed to the output, less those still queued and the output's
// latency; never below 0 nor above the samples handed. Where the platform cannot report
// the queue or the latency, an estimate. Any thread.
std::int64_t output_heard_sample();
