#include "frame/demo_data.h"

#include "effects/effects.h"
#include "frame/frame.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

DemoData demo_data;
const char* demo_data_program = "tinkettles";

namespace {

// The loaders keep the reason of their latest failure; the user is told which file.
void report_failed_load(const char* file_name)
{
    std::fprintf(stderr, "%s: %s: %s\n", demo_data_program, file_name, picture_error);
}

// When both tunnel pictures fail only the second's reason is still known: look at the
// first file again to say whether it is missing or refused.
void report_failed_first_tunnel_picture(const char* file_name)
{
    std::FILE* file = std::fopen(file_name, "rb");
    if (!file) {
        std::fprintf(stderr, "%s: %s: cannot open: %s\n", demo_data_program, file_name,
                     std::strerror(errno));
        return;
    }
    std::fclose(file);
    std::fprintf(stderr, "%s: %s: not a picture this demo can read\n", demo_data_program, file_name);
}

bool load_text(const char* file_name, TextPicture** out)
{
    *out = load_text_picture(file_name);
    if (!*out)
        report_failed_load(file_name);
    return *out != nullptr;
}

bool load_scene_picture(const char* file_name, Picture** out)
{
    *out = load_picture(file_name);
    if (!*out)
        report_failed_load(file_name);
    return *out != nullptr;
}

}  // namespace

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

    if (!load_effect_pictures()) {
        // Both are always attempted; name the one(s) that did not load.
        if (!tunnel_picture && !tunnel_picture2)
            report_failed_first_tunnel_picture("data/blinq.cgm");
        else if (!tunnel_picture)
            report_failed_load("data/blinq.cgm");
        if (!tunnel_picture2)
            report_failed_load("data/blinq2.cgm");
        return false;
    }

    if (load_font("data/fontti.raw") < 0) {
        report_failed_load("data/fontti.raw");
        return false;
    }

    build_sqrt_table();
    build_zoom_map(32);
    return true;
}
