// The command line of tinkettles-capture.
#pragma once

#include <cstdio>

struct CaptureOptions {
    int fps;                     // frames per second of the capture
    const char* png_dir;         // numbered PNG frames go here, or nullptr
    const char* y4m_file;        // YUV4MPEG2 stream; "-" is standard output
    const char* wav_file;        // the music in step with the frames
    const char* mp4_file;        // made by ffmpeg from the frames and the music
    const char* log_file;        // one line per frame: frame, demo_time, position, scene
    const char* contact_sheet;   // PNG with one labelled thumbnail per scene
    const char* data_folder;     // --data DIR, or nullptr to search as the demo does
};

constexpr int default_fps = 60;
constexpr int max_fps = 1000;

// Fills `options` from argv; false (after naming the fault on standard error) when
// the arguments are not understood.
bool parse_capture_options(int argc, const char* const* argv, CaptureOptions* options);

void print_capture_usage(std::FILE* out);
