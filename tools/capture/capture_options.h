// The command line of tinkettles-capture.
#pragma once

#include <cstdint>

struct CaptureOptions {
    int fps;                     // frames per second of the capture
    const char* png_dir;         // numbered PNG frames go here, or nullptr
    const char* y4m_file;        // YUV4MPEG2 stream; "-" is standard output
    const char* wav_file;        // the music in step with the frames
    const char* mp4_file;        // made by ffmpeg from the frames and the music
    const char* log_file;        // one line per frame: frame, demo_time, position, scene
    const char* contact_sheet;   // PNG with one labelled thumbnail per scene
    const char* data_folder;     // --data DIR, or nullptr to search as the demo does
    const char* flash_report;    // CSV of the flash analysis, one row per second
    const char* flash_plot;      // PNG plot of the flashing area per second
    bool calm;                   // frames shown through the calm presentation
    bool warning_card;           // the MP4 begins with the flash warning
    // The part kept: from the first frame whose music position is at least
    // `from_position` up to, not including, the next one at `to_position` or past it.
    // The whole capture when neither is given (the final frame at the last position
    // included); every frame before the part is still drawn, so the part is exactly
    // what the whole capture holds.
    std::int32_t from_position;
    std::int32_t to_position;
    // Output pixels per picture pixel each way in the PNG, Y4M and MP4 frames: twice
    // --scale, from 2 (the 640x480 screen as it is) to 9 (2880x2160); scaled_screen.h.
    int pixel_block;
};

constexpr int default_fps = 60;
constexpr int max_fps = 1000;
// Below any music position, and past the last one the demo reaches.
constexpr std::int32_t part_open_start = -1000;
constexpr std::int32_t part_open_end = 1000000;

extern const char* const capture_program;
extern const char* const capture_usage;

// Fills `options` from argv. True when the capture should run; otherwise false with the
// exit status in *status (0 after --help or --version, 2 after a usage error and the usage).
bool parse_capture_options(int argc, char** argv, CaptureOptions* options, int* status);

// The music positions [*from, *to) of a scene 1..10 as the timeline places them, the
// first scene open at its start and the last at its end.
void scene_positions(std::int32_t scene, std::int32_t* from, std::int32_t* to);
