#include "frame/demo_data.h"

#include "effects/effects.h"
#include "frame/data_folder.h"
#include "frame/frame.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

DemoData demo_data;

namespace {

// The path of one data file inside the chosen data folder; the search leaves room in
// the folder's path for every file name (an empty path, which cannot open, otherwise).
struct DataPath {
    char text[data_path_capacity];
};

DataPath path_of(const char* name)
{
    DataPath path;
    if (!data_file_path(name, path.text, sizeof path.text))
        path.text[0] = '\0';
    return path;
}

// The loaders keep the reason of their latest failure; the user is told which file.
void report_failed_load(const char* file_name)
{
    std::fprintf(stderr, "%s: %s: %s\n", program_name, file_name, picture_error);
}

// When both tunnel pictures fail only the second's reason is still known: look at the
// first file again to say whether it is missing or refused.
void report_failed_first_tunnel_picture(const char* file_name)
{
    std::FILE* file = std::fopen(file_name, "rb");
    if (!file) {
        std::fprintf(stderr, "%s: %s: cannot open: %s\n", program_name, file_name, std::strerror(errno));
        return;
    }
    std::fclose(file);
    std::fprintf(stderr, "%s: %s: not a picture this demo can read\n", program_name, file_name);
}

bool load_text(const char* name, TextPicture** out)
{
    const DataPath path = path_of(name);
    *out = load_text_picture(path.text);
    if (!*out)
        report_failed_load(path.text);
    return *out != nullptr;
}

bool load_scene_picture(const char* name, Picture** out)
{
    const DataPath path = path_of(name);
    *out = load_picture(path.text);
    if (!*out)
        report_failed_load(path.text);
    return *out != nullptr;
}

// What load_effect_pictures does, from the chosen data folder.
bool load_tunnel_pictures()
{
    const DataPath first = path_of("data/blinq.cgm");
    const DataPath second = path_of("data/blinq2.cgm");
    tunnel_picture = load_picture(first.text);
    tunnel_picture2 = load_picture(second.text);
    if (tunnel_picture && tunnel_picture2)
        return true;
    // Both are always attempted; name the one(s) that did not load.
    if (!tunnel_picture && !tunnel_picture2)
        report_failed_first_tunnel_picture(first.text);
    else if (!tunnel_picture)
        report_failed_load(first.text);
    if (!tunnel_picture2)
        report_failed_load(second.text);
    return false;
}

}   // namespace

bool load_demo_data()
{
    // Both line drawings are attempted before failing, so one run names both.
    const bool groovster_ok = load_text("data/groovster.txt", &demo_data.groovster);
    const bool afrogirl_ok = load_text("data/afrogirl.txt", &demo_data.afrogirl);
    if (!groovster_ok || !afrogirl_ok)
        return false;

    // All eight are attempted, so that one run names every missing picture.
    bool pictures_ok = true;
    pictures_ok &= load_scene_picture("data/wobbli.cgm", &demo_data.wobbli);
    pictures_ok &= load_scene_picture("data/zippsy.cgm", &demo_data.zippsy);
    pictures_ok &= load_scene_picture("data/ankels.cgm", &demo_data.ankels);
    pictures_ok &= load_scene_picture("data/flonk1.cgm", &demo_data.flonk1);
    pictures_ok &= load_scene_picture("data/flonk2.cgm", &demo_data.flonk2);
    pictures_ok &= load_scene_picture("data/strutto.cgm", &demo_data.strutto);
    pictures_ok &= load_scene_picture("data/struttoblk.cgm", &demo_data.struttoblk);
    pictures_ok &= load_scene_picture("data/bottles.cgm", &demo_data.bottles);
    if (!pictures_ok)
        return false;

    if (!load_tunnel_pictures())
        return false;

    const DataPath font = path_of("data/fontti.raw");
    if (load_font(font.text) < 0) {
        report_failed_load(font.text);
        return false;
    }

    build_sqrt_table();
    build_zoom_map(32);
    return true;
}
