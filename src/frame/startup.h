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

// Playback of the loaded module started at 47 ticks per second and the first tick
// awaited; with `from` at 0 or above the player first goes to that music position
// (order * 100 + row) as a position jump would. Prints one line and returns false when
// the song has no such order.
bool start_music_at(std::int32_t from);

// The whole program: start-up, main loop; returns the exit status.
int demo_main(int argc, char** argv);
