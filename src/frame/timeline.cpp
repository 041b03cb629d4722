// The demo's script: ten scenes, each bound to a range of music positions, each with
// a one-time entry (colours and state) and a per-frame drawing recipe. The music
// position picks the scene; demo_time drives all motion inside it.
#include "effects/effects.h"
#include "frame/demo_data.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/scene_facts.h"
#include "frame/timeline.h"
#include "pictures/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

char caption_text[200];

namespace {

constexpr int switch_slot = 10;   // the picture switch inside scene 9

// The pulse rate of scene 9's picture per millisecond: the double nearest to 1/150.
constexpr double one_150th = 0.006666666666666667;

// demo_time of the frame in which each scene began; -1 until then.
std::int32_t start_slots[scene_count + 1];
// Segments of the current line drawing already drawn (scenes 3 and 6).
std::int32_t progress;
const Picture* scene9_picture;
std::uint8_t fade_palette[100 * 3];   // red, green, blue of palette entries 0..99

const char* const greetings[20] = {
    " ", "sprocketz", "vkm", "pelmore", "moonwicket", "qaz", "glimsk", "lumbo", "vorpa", "",
    "",  "",          "",    "",        "",           "",    "",       "",      "",      "",
};

// Elapsed time and row of the frame being drawn.
struct SceneClock {
    std::int32_t position;
    std::int32_t row;
    std::int32_t elapsed;
};

// Differences of times taken as unsigned, so that no clock value can overflow them.
std::int32_t wrapping_difference(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

std::int32_t doubled_time()
{
    return static_cast<std::int32_t>(2u * static_cast<std::uint32_t>(demo_time));
}

// 1000000 - t, the time argument that runs a motion backwards.
std::int32_t reversed(std::int32_t t)
{
    return wrapping_difference(1000000, t);
}

void fill_work(std::uint8_t colour)
{
    work_buffer.fill(colour);
}

struct ColourSetting {
    int index, r, g, b;
};

// A scene's colours, set in the order given.
void set_scene_colours(std::initializer_list<ColourSetting> colours)
{
    for (const ColourSetting& colour : colours)
        set_colour(colour.index, colour.r, colour.g, colour.b);
}

// The line-drawing scenes start from an empty page in colour 1 and draw into it stroke
// by stroke from the first segment on.
void start_line_drawing(std::initializer_list<ColourSetting> colours)
{
    set_scene_colours(colours);
    progress = 0;
    fill_work(1);
}

void draw_scaled(const Picture* picture, std::int32_t x, std::int32_t y, std::int32_t scale)
{
    picture_offset_x = x;
    picture_offset_y = y;
    picture_scale = scale;
    draw_picture(picture, work_buffer.data(), screen_transform);
}

void caption(std::uint8_t* buffer, std::int32_t x, std::int32_t y, const char* text, std::int32_t centred,
             std::uint8_t colour)
{
    draw_caption(buffer, x, y, text, centred, demo_time, colour);
}

// Copies text into caption_text cut to its first `length` characters.
void compose_caption(const char* text, std::int32_t length)
{
    std::strncpy(caption_text, text, sizeof caption_text - 1);
    caption_text[sizeof caption_text - 1] = '\0';
    caption_text[std::clamp<std::int32_t>(length, 0, sizeof caption_text - 1)] = '\0';
}

// Captions that must not stay in the accumulating line drawing go on a copy of it.
std::uint8_t* show_overlay()
{
    overlay_buffer = work_buffer;
    display_buffer = overlay_buffer.data();
    return overlay_buffer.data();
}

// Draws the segments that became due since the previous frame.
void draw_strokes(const TextPicture* drawing, std::int32_t due)
{
    draw_text_picture(work_buffer.data(), drawing, progress, due, 2);
    progress = due;
}

// Three copies of a small picture scrolling right, each wrapping at the screen's edge.
void draw_scrollers(const Picture* picture, std::int32_t ms_per_pixel, std::int32_t top, std::int32_t spacing)
{
    for (std::int32_t k = 0; k < 3; ++k) {
        const std::int32_t x = ((demo_time / ms_per_pixel + 160 * k) % 400 - 200) * 4;
        draw_scaled(picture, x, top + spacing * k, 40);
    }
}

// Scene 1: the shrinking ankels picture and two captions.
void enter_scene1(const SceneClock&)
{
    set_picture_palette(demo_data.ankels, 255, 255, 255, 100);
    set_scene_colours({{127, 255, 150, 150}, {255, 255, 200, 200}, {128, 100, 90, 90}, {126, 255, 255, 255}});
}

void draw_scene1(const SceneClock& clock)
{
    fill_work(127);
    draw_scaled(demo_data.ankels, 0, 80, 1000 - clock.elapsed / 18);
    if (clock.position >= 100 && clock.position <= 131)
        caption(work_buffer.data(), 160, 80, "gravel band", 1, 126);
    if (clock.position >= 132)
        caption(work_buffer.data(), 160, 120, "on the floor", 1, 126);
}

// Scene 2: the ring tunnel, running forwards and backwards in turns of 16 rows.
void enter_scene2(const SceneClock&)
{
    set_scene_colours(
        {{3, 0, 0, 0}, {1, 255, 180, 180}, {129, 128, 90, 90}, {2, 255, 60, 200}, {130, 128, 30, 100}});
}

void draw_scene2(const SceneClock& clock)
{
    fill_work(1);
    const std::int32_t t = (clock.row & 16) ? doubled_time() : reversed(doubled_time());
    draw_rings(work_buffer.data(), t, 18, 1, 2);
    caption(work_buffer.data(), 160, 100, "tin kettles", 1, 3);
}

// Scene 3: the afrogirl drawing, one stroke every 5 ms, and a blinking caption.
void enter_scene3(const SceneClock&)
{
    start_line_drawing({{1, 110, 200, 150},
                        {2, 30, 64, 50},
                        {129, 200, 255, 220},
                        {130, 130, 170, 120},
                        {126, 255, 255, 255}});
}

void draw_scene3(const SceneClock& clock)
{
    draw_strokes(demo_data.afrogirl, clock.elapsed / 5);
    std::uint8_t* overlay = show_overlay();
    if (clock.row & 4)
        caption(overlay, 160, 100, "foxy lady!", 1, 126);
}

// Scene 4: the mirrored ring tunnel with a caption typed out one letter every 8 rows.
void enter_scene4(const SceneClock&)
{
    set_scene_colours(
        {{3, 0, 0, 0}, {1, 255, 255, 255}, {129, 128, 128, 128}, {2, 120, 120, 255}, {130, 60, 60, 125}});
}

void draw_scene4(const SceneClock& clock)
{
    fill_work(1);
    draw_rings(work_buffer.data(), demo_time, 28, 1, 2);
    mirror_quadrants(work_buffer.data(), 320, 200);
    const std::int32_t letters = clock.position < 800 ? clock.row / 8 : (clock.row + 64) / 8;
    compose_caption("kv'05 mamas", letters);
    caption(work_buffer.data(), 160, 170, caption_text, 1, 3);
}

// Scene 5: the picture tunnel and three scrolling flonk1 pictures.
void enter_scene5(const SceneClock&)
{
    set_picture_palette(demo_data.flonk1, 0, 0, 0, 100);
    set_colour(127, 255, 255, 255);
}

void draw_scene5(const SceneClock&)
{
    fill_work(127);
    draw_picture_tunnel(work_buffer.data(), demo_time / 2);
    draw_scrollers(demo_data.flonk1, 40, -320, 320);
}

// Scene 6: the groovster drawing, one stroke every 9 ms, and the greetings.
void enter_scene6(const SceneClock&)
{
    start_line_drawing({{1, 255, 160, 160},
                        {2, 100, 0, 0},
                        {129, 255, 200, 200},
                        {130, 200, 100, 100},
                        {126, 255, 255, 255}});
}

void draw_scene6(const SceneClock& clock)
{
    draw_strokes(demo_data.groovster, clock.elapsed / 9);
    std::uint8_t* overlay = show_overlay();
    if (clock.row & 4)
        caption(overlay, 170, 160, "greetz", 0, 126);
    // Each greeting stays 3.6 s and is typed out at one letter per 300 ms; past the
    // table's end there is nothing more to greet.
    const std::int32_t index = clock.elapsed / 3600;
    const char* greeting = (index >= 0 && index < 20) ? greetings[index] : "";
    compose_caption(greeting, (clock.elapsed - 3600 * index) / 300);
    caption(overlay, 5, 5, caption_text, 0, 126);
}

// Scene 7: the picture tunnel and the strutto figure swinging into place.
void enter_scene7(const SceneClock&)
{
    set_picture_palette(demo_data.strutto, 0, 0, 0, 100);
    set_colour(127, 255, 255, 255);
}

void draw_scene7(const SceneClock& clock)
{
    fill_work(127);
    const std::int32_t t = (clock.row & 32) ? demo_time : reversed(demo_time);
    draw_picture_tunnel(work_buffer.data(), t);
    if (clock.position >= 1600 && clock.position <= 1615)
        caption(work_buffer.data(), 5, 84, "g4l0p!", 0, 0);
    // A damped swing: from 250 pixels below the centre line to rest on it.
    const double d = clock.elapsed;
    const double damping = 0.005 * d;
    const double swing = 100000.0 / (damping * damping + 100.0) * std::cos(0.001 * d);
    const Picture* pose = (clock.row & 4) ? demo_data.strutto : demo_data.struttoblk;
    draw_scaled(pose, 320, static_cast<std::int32_t>(swing), 120);
}

// Scene 8: drifting rings, three scrolling flonk2 pictures, the block zoom.
void enter_scene8(const SceneClock&)
{
    set_picture_palette(demo_data.flonk2, 0, 0, 0, 100);
    // The picture's own colours 1 to 3 give way to the scene's.
    set_scene_colours({{3, 0, 0, 0}, {1, 180, 255, 180}, {2, 150, 255, 20}});
}

void draw_scene8(const SceneClock& clock)
{
    fill_work(1);
    draw_rings(work_buffer.data(), reversed(demo_time), 23, 2, 2);
    draw_scrollers(demo_data.flonk2, 20, -240, 240);
    if (clock.row >= 32) {
        set_colour(2, 120, 210, 20);
        apply_zoom_map(work_buffer.data(), overlay_buffer.data());
        display_buffer = overlay_buffer.data();
    } else {
        set_colour(2, 150, 255, 20);
    }
}

// Scene 9: a pulsing picture on the left, the credits on the right.
void enter_scene9(const SceneClock&)
{
    set_colour(255, 128, 90, 0);
    scene9_picture = demo_data.wobbli;
    set_colour(127, 255, 180, 0);
    set_picture_palette(demo_data.wobbli, 0, 0, 0, 100);
}

void draw_scene9(const SceneClock& clock)
{
    if (start_slots[switch_slot] == -1 && clock.position >= 2200) {
        scene9_picture = demo_data.zippsy;
        set_picture_palette(demo_data.zippsy, 0, 0, 0, 100);
        start_slots[switch_slot] = demo_time;
    }
    fill_work(127);
    const double pulse = std::sin(demo_time * one_150th) * 30 + 100;
    draw_scaled(scene9_picture, -240, 0, static_cast<std::int32_t>(pulse));
    const std::int32_t j = demo_time / 200;
    static const char* const before_switch[3] = {"tovo", "code", "grafix"};
    if (start_slots[switch_slot] == -1)
        compose_caption(before_switch[j % 3], 199);
    else
        compose_caption(j % 2 == 0 ? "pim" : "funk", 199);
    caption(work_buffer.data(), 240, 100, caption_text, 1, 0);
}

// Scene 10: the bottles picture growing while its colours fade in from the background.
void enter_scene10(const SceneClock&)
{
    set_colour(127, 255, 220, 80);
}

void draw_scene10(const SceneClock& clock)
{
    const std::int64_t f = std::min<std::int64_t>(std::int64_t{clock.elapsed} * 255 / 5000, 255);
    constexpr std::int64_t background[3] = {255, 220, 80};
    for (int i = 0; i < 100; ++i) {
        const std::uint32_t colour = demo_data.bottles->palette[i];
        const std::int64_t channels[3] = {(colour >> 16) & 0xff, (colour >> 8) & 0xff, colour & 0xff};
        for (int c = 0; c < 3; ++c)
            fade_palette[3 * i + c] =
                static_cast<std::uint8_t>((channels[c] * f + (255 - f) * background[c]) / 256);
    }
    set_colours(1, 99, fade_palette + 3);
    fill_work(127);
    draw_scaled(demo_data.bottles, -40, -120, clock.elapsed / 78 + 10);
}

// Each scene's music positions are in scene_spans, by the same index.
struct Scene {
    void (*enter)(const SceneClock&);
    void (*draw)(const SceneClock&);
};

const Scene scenes[scene_count] = {
    {enter_scene1, draw_scene1},   {enter_scene2, draw_scene2}, {enter_scene3, draw_scene3},
    {enter_scene4, draw_scene4},   {enter_scene5, draw_scene5}, {enter_scene6, draw_scene6},
    {enter_scene7, draw_scene7},   {enter_scene8, draw_scene8}, {enter_scene9, draw_scene9},
    {enter_scene10, draw_scene10},
};

bool scene_holds(int index, std::int32_t position)
{
    const SceneSpan& span = scene_spans[index];
    if (index == 0)
        return position < span.end;   // every position before the second scene
    if (index == scene_count - 1)
        return position >= span.first;   // and everything from the last one on
    // One unsigned comparison covers both ends of the range.
    const std::uint32_t offset =
        static_cast<std::uint32_t>(position) - static_cast<std::uint32_t>(span.first);
    return offset < static_cast<std::uint32_t>(span.end - span.first);
}

}   // namespace

std::int32_t scene_number(std::int32_t position)
{
    for (int i = 0; i < scene_count; ++i)
        if (scene_holds(i, position))
            return i + 1;
    return 0;
}

void reset_timeline()
{
    quit_flag = 0;
    progress = 0;
    std::fill(std::begin(start_slots), std::end(start_slots), -1);
}

void run_timeline(std::int32_t position)
{
    for (int i = 0; i < scene_count; ++i) {
        if (!scene_holds(i, position))
            continue;
        SceneClock clock{position, position % 100, 0};
        if (start_slots[i] == -1) {
            scenes[i].enter(clock);
            start_slots[i] = demo_time;
        }
        clock.elapsed = wrapping_difference(demo_time, start_slots[i]);
        scenes[i].draw(clock);
    }
}
