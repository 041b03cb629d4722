// The flash analysis of presented frames: which parts of the picture flash more than
// three times a second, how much of the screen and of the worst 10-degree field they
// cover, frame by frame, gathered per second of the demo. No SDL: it reads the
// picture's 32-bit pixels 0x00RRGGBB wherever they are.
//
// The picture is the 640x400 band of the 640x480 screen that the frame fills (the rows
// above and below stay black and never flash). Every source pixel shows as two equal
// screen pixels side by side, so one of each pair is read: 320 x 400 cells of two
// screen pixels each.
//
// The 10-degree field: the 640x480 screen seen as a 1024x768 screen is at the usual
// desk distance, where a third of its width and of its height span 10 degrees of view.
// That is 214 x 160 screen pixels (107 cells wide); a quarter of it, 8560 pixels, is
// the most that may flash at once.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int flash_cell_columns = 320;
constexpr int flash_cell_rows = 400;
constexpr int field_cell_columns = 107;
constexpr int field_cell_rows = 160;
constexpr std::int32_t screen_area = 640 * 480;
constexpr std::int32_t field_area = 2 * field_cell_columns * field_cell_rows;
constexpr std::int32_t field_limit = field_area / 4;   // more than this fails
constexpr int max_flash_seconds = 1300;                // beyond the capture's 20 minutes
constexpr int remembered_transitions = 16;             // a cell's count stops at this

// One second of demo time, [second, second + 1) s, gathered over its frames. Each
// "most" is the largest value of one frame (pixel counts are screen pixels).
struct FlashSecond {
    std::int32_t frames;
    std::int32_t most_transitions;   // of one cell within the 1000 ms up to a frame
    std::int32_t screen_pixels;      // flashing: seven or more transitions in that window
    std::int32_t field_pixels;       // the same within the worst 10-degree field
    std::int32_t most_red_transitions;
    std::int32_t red_screen_pixels;
    std::int32_t red_field_pixels;
};

struct FlashCell;

struct FlashAnalysis {
    FlashCell* cells;                         // flash_cell_columns x flash_cell_rows, allocated once
    std::uint8_t* flashing;                   // per cell this frame: 1 general, 2 red
    std::int32_t* field_sums;                 // summed-area table for the field search
    bool started;                             // false until the first frame
    std::int32_t first_second;                // the first frame's second
    std::int32_t last_second;                 // the last frame's
    FlashSecond seconds[max_flash_seconds];   // from first_second on
};

// Allocates the state (about 20 MB). False when the memory is not there.
bool start_flash_analysis(FlashAnalysis* analysis);
void end_flash_analysis(FlashAnalysis* analysis);

// One presented frame at `time_ms` (not less than the last frame's, and below
// max_flash_seconds seconds past the first). `picture`: its first row's pixel 0;
// `pitch`: pixels from one row to the next.
void analyse_flash_frame(FlashAnalysis* analysis, const std::uint32_t* picture, std::size_t pitch,
                         std::int32_t time_ms);

// A second fails the general or the red limit: more than three flashes a second over
// more than a quarter of some 10-degree field.
bool fails_general(const FlashSecond& second);
bool fails_red(const FlashSecond& second);
