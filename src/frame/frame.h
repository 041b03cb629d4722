// The demo frame: start-up, the indexed frame buffers with their colour tables,
// presentation to the screen, the main loop and the scene timeline.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

struct Picture;

using FrameBuffer = std::array<std::uint8_t, 320 * 200>;
extern FrameBuffer work_buffer;           // all scene drawing goes here
extern FrameBuffer overlay_buffer;        // captions that must not stay; block zoom output
extern std::uint8_t* display_buffer;      // what present_frame shows
extern std::uint32_t colour_table[256];   // full brightness screen pixels
extern std::uint32_t dim_table[256];      // four fifths brightness
extern std::int32_t demo_time;            // ms since the timeline began
extern SDL_Surface* screen;               // the 640x480x32 display surface

void set_colour(int index, int r, int g, int b);
void set_colours(int first, int count, const std::uint8_t* rgb);
void set_picture_palette(const Picture* picture, int r, int g, int b, int count);
void present_frame();
// present_frame without the flip: display_buffer enlarged onto the screen's rows 40-439,
// the border rows left as they are, for a caller that adds to the border first.
void convert_frame_to_screen();

// What start-up does before the display opens: both text pictures, the eight scene
// pictures, the two tunnel pictures and the font loaded, the square-root table and the
// zoom map built. Returns false when any load failed (after attempting all eight scene
// pictures).
bool load_demo_data();

// Scene timeline state. reset_timeline sets the quit flag, the progress
// counter and the eleven start slots (-1) as start-up does. run_timeline is one frame's
// scene step of the main loop: the ten scene
// tests for this music position, drawing with the current demo_time.
extern char caption_text[200];
void reset_timeline();
void run_timeline(std::int32_t position);
