// The command line of tinkettles-preview.
#pragma once

#include <cstdint>

struct PreviewOptions {
    std::int32_t scale;      // picture_scale: pixels from centre to the picture's edge
    std::int32_t offset_x;   // quarter pixels, as picture_offset_x
    std::int32_t offset_y;   // quarter pixels, as picture_offset_y; positive moves down
    std::int32_t segments;   // text pictures: draw only this many, -1 for all
    bool present;            // enlarge to 640 x 480 as the demo shows it
    bool text_picture;       // input is a text picture (".txt"), else a CGM picture
    const char* input;
    const char* output;
};

extern const char* const preview_program;
extern const char* const preview_usage;

// Fills options from argv. True when the preview should be drawn; otherwise false with
// the exit status in *status (0 after --help or --version, 2 after a usage error and the usage).
bool parse_preview_options(int argc, char** argv, PreviewOptions* options, int* status);
