// The main loop: one frame per pass, scenes chosen by the music position, motion
// driven by demo_time.
#pragma once

#include <cstdint>

// Set by a mouse click or by the music reaching its last order; never cleared.
extern std::int32_t quit_flag;

// SDL_GetTicks() at the moment the timeline began; demo_time counts from here.
extern std::uint32_t timeline_start_ticks;

// The music position at which the demo ends (order 25, row 0).
constexpr std::int32_t final_position = 2500;

// Where this run ends: final_position unless start-up was asked for an earlier end.
extern std::int32_t end_position;

// One frame's drawing for a music position read once, with demo_time already set:
// display_buffer back on the work buffer, the scene step, the end test against
// end_position. Leaves the frame in display_buffer, ready for present_frame.
void draw_frame(std::int32_t position);

// One pass of the loop: events, demo_time, the position being heard read once, the
// frame drawn and presented (and logged, with a frame log open).
void run_frame();

// Runs frames, about 100 a second at most and sleeping in between, until the quit flag
// is set; the frame that sets it is still shown. Watches the sound output between
// frames, and says so on standard error when it gives it up.
void run_main_loop();

// The frame log named by TINKETTLES_FRAME_LOG, if set. False (and said on standard
// error) when it cannot be opened.
bool open_frame_log();
void close_frame_log();

// Once a frame and while waiting for the music: gives up a sound output that no longer
// takes sound, saying so on standard error.
void keep_sound_watched();

// Sleeps until the frame after the one due at *next_frame (SDL_GetTicks() milliseconds)
// is due, about 100 frames a second, and moves *next_frame on to it.
void wait_for_next_frame(std::uint32_t* next_frame);
