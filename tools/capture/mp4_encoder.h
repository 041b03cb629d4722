// The MP4 output, made to be uploaded to a video site: the frames piped as YUV4MPEG2
// into ffmpeg while they are made, then put together with the finished WAV file in a
// second ffmpeg run that copies the video and encodes the sound.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>

// What the MP4 holds, as ffmpeg's arguments: H.264 High, yuv420p, x264 at constant
// quality (CRF) with this preset; AAC-LC stereo (the mono music twice) at 48 kHz.
constexpr const char* mp4_video_preset = "veryfast";
constexpr const char* mp4_video_crf = "10";
constexpr const char* mp4_audio_rate = "48000";
constexpr const char* mp4_audio_bit_rate = "384k";

struct Mp4Encoder {
    std::FILE* frames;   // ffmpeg's standard input
    pid_t ffmpeg;
    std::string video_file;        // the video alone, removed once the MP4 is made
    std::int32_t audio_delay_ms;   // silence before the music (a warning card's length)
};

// Whether a program of this name can be run from a folder on PATH.
bool program_on_path(const char* name);

// Starts ffmpeg reading a YUV4MPEG2 stream (whose header the caller writes) into a
// temporary video file beside mp4_file.
bool start_mp4(Mp4Encoder* encoder, const char* mp4_file);

// Closes the frame stream, waits for ffmpeg, then joins the video and wav_file into
// mp4_file. False, after a line on standard error, when either ffmpeg run fails.
bool finish_mp4(Mp4Encoder* encoder, const char* mp4_file, const char* wav_file);

// After a failure: ends the frame stream, waits for ffmpeg and removes its video.
void abandon_mp4(Mp4Encoder* encoder);
