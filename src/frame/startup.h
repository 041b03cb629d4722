// Start-up: the whole start-up sequence that ends in the main loop.
#pragma once

#include "frame/demo_data.h"   // load_everything, start_offline_music
#include "frame/display.h"     // runs_windowed, open_display
#include "sound/module_file.h"

#include <cstdint>

// Reads the module file (read_module); prints one line naming it and returns no bytes
// on failure.
ModuleFile load_module_file(const char* file_name);

// The module handed to the player. Prints one line and returns false when the player
// refuses it.
bool load_music(const ModuleFile& module);

// Playback of the loaded module started from its first row at 47 ticks per second, and
// the first tick awaited (a start elsewhere is exact_start.h's).
void start_music_from_top();

// The whole program: start-up, main loop; returns the exit status.
int demo_main(int argc, char** argv);
