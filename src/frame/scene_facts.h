// The facts of the demo's ten scenes that the tools, benchmarks and tests share with the
// timeline: where in the music each scene lies, and in whose colours each picture shows.
// Plain constants, so that users need no SDL.
#pragma once

#include <cstdint>

inline constexpr int scene_count = 10;

struct SceneSpan {
    std::int32_t first;   // first music position of the scene
    std::int32_t end;     // first position past it; the first scene also holds every
                          // position before the second, the last everything from its first
};

inline constexpr SceneSpan scene_spans[scene_count] = {
    {0, 200},     {200, 400},   {400, 700},   {700, 900},   {900, 1100},
    {1100, 1500}, {1500, 1800}, {1800, 2100}, {2100, 2300}, {2300, 0},
};

// A picture of data/ and the picture whose colours 1 to 99 the scene showing it takes:
// the tunnel rings have no colours of their own and take their scene's.
struct ScenePicture {
    const char* file;
    const char* palette_file;
    std::int32_t scene;   // 1 to 10
};

inline constexpr ScenePicture scene_pictures[] = {
    {"ankels.cgm", "ankels.cgm", 1},      {"blinq.cgm", "flonk1.cgm", 5},  {"blinq2.cgm", "strutto.cgm", 7},
    {"flonk1.cgm", "flonk1.cgm", 5},      {"flonk2.cgm", "flonk2.cgm", 8}, {"strutto.cgm", "strutto.cgm", 7},
    {"struttoblk.cgm", "strutto.cgm", 7}, {"wobbli.cgm", "wobbli.cgm", 9}, {"zippsy.cgm", "zippsy.cgm", 9},
    {"bottles.cgm", "bottles.cgm", 10},
};
