// The data every scene draws from, loaded once before the display opens.
#pragma once

#include "sound/module_file.h"

struct MusicStream;

struct Picture;
struct TextPicture;

struct DemoData {
    TextPicture* groovster;
    TextPicture* afrogirl;
    Picture* wobbli;
    Picture* zippsy;
    Picture* ankels;
    Picture* flonk1;
    Picture* flonk2;
    Picture* strutto;
    Picture* struttoblk;
    Picture* bottles;
};
extern DemoData demo_data;

// What the demo and the capture do before their screen opens: the data folder found,
// every data file loaded and its tables built, the module read and the timeline reset.
// Prints one line starting with program_name and returns no bytes on failure.
ModuleFile load_everything(const char* data_folder_option);

// The module handed to the music stream in sound mode 2, to be rendered offline as the
// demo's audio device would play it. Prints one line and returns false when the player
// refuses it.
bool start_offline_music(const ModuleFile& module, MusicStream* stream);
