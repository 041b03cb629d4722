// The demo's display: the window choice and the 640x480 screen.
#pragma once

// True when the demo should open a window rather than take the full screen: the
// second argument is exactly "-w", or the program's own name ends in 'w'.
bool runs_windowed(int argc, const char* const* argv);

// SDL and the 640x480x32 double-buffered display, cleared, captioned and with the
// pointer hidden. Prints one line naming what failed and returns false on failure.
bool open_display(bool windowed);
