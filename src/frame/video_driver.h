// Which of SDL's video drivers the demo accepts.
#pragma once

// True for a driver that shows nothing on a screen (text in the terminal, or an
// off-screen surface) unless requested, the SDL_VIDEODRIVER setting (null when unset),
// names it: SDL falls back to these when no display opens.
bool refuses_video_driver(const char* driver, const char* requested);
