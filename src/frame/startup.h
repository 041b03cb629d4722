// Start-up: the window choice, the display, and the whole start-up sequence that
// ends in the main loop.
#pragma once

#include <cstdint>

// True when the demo should open a window rather than take the full screen: the
// second argument is exactly "-w", or the program's own name ends in 'w'.
bool runs_windowed(int argc, const char* const* argv);

// SDL and the 640x480x32 double-buffered display, cleared, captioned and with the
// pointer hidden. Prints one line naming what failed and returns false on failure.
bool open_display(bool windowed);

// The music: the module file read whole, handed to the player, playback started at
// 47 ticks per second and the first tick awaited. Prints one line and returns false
// when the module cannot be read or is refused.
bool start_music(const char* module_file);

// The whole program: start-up, main loop; returns the exit status.
int demo_main(int argc, char** argv);
