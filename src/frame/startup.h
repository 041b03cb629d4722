// Start-up: the window choice, the display, and the whole start-up sequence that
// ends in the main loop.
#pragma once

#include <cstddef>
#include <cstdint>

struct MusicStream;

// True when the demo should open a window rather than take the full screen: the
// second argument is exactly "-w", or the program's own name ends in 'w'.
bool runs_windowed(int argc, const char* const* argv);

// SDL and the 640x480x32 double-buffered display, cleared, captioned and with the
// pointer hidden. Prints one line naming what failed and returns false on failure.
bool open_display(bool windowed);

// A module file read whole into the demo's 1,000,000-byte module buffer.
struct ModuleFile {
    const char* name;
    std::uint8_t* bytes;   // nullptr when it could not be read
    std::size_t size;      // bytes actually read
};

// Reads the module file; prints one line naming it and returns no bytes on failure.
ModuleFile load_module_file(const char* file_name);

// What the demo and the capture do before their screen opens: the data folder found,
// every data file loaded and its tables built, the module read and the timeline reset.
// Prints one line starting with program_name and returns no bytes on failure.
ModuleFile load_everything(const char* data_folder_option);

// The module handed to the music stream in sound mode 2, to be rendered offline as the
// demo's audio device would play it. Prints one line and returns false when the player
// refuses it.
bool start_offline_music(const ModuleFile& module, MusicStream* stream);

// The module handed to the player. Prints one line and returns false when the player
// refuses it.
bool load_music(const ModuleFile& module);

// Playback of the loaded module started at 47 ticks per second and the first tick
// awaited; with `from` at 0 or above the player first goes to that music position
// (order * 100 + row) as a position jump would. Prints one line and returns false when
// the song has no such order.
bool start_music_at(std::int32_t from);

// load_music, then start_music_at the start of the song.
bool start_music(const ModuleFile& module);

// The whole program: start-up, main loop; returns the exit status.
int demo_main(int argc, char** argv);
