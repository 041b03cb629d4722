// One frame of each scene, as the main loop makes it (the scene's drawing and the
// presentation into a 640x480 memory surface), on the demo's own data, beside the
// memset of the 1,024,000 bytes that the presentation writes.
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/scene_facts.h"
#include "frame/timeline.h"
#include "effects/effects.h"

#include <benchmark/benchmark.h>
#include "memset_yardstick.h"
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Where each scene is measured: a position half way through its orders.
constexpr std::int32_t scene_positions[10] = {100, 300, 532, 800, 1000, 1300, 1632, 1932, 2200, 2400};
constexpr std::int32_t frame_ms = 16;

// The moment the music reaches a position: 64 rows of 6 ticks per order, 47 ticks a second.
std::int32_t music_moment(std::int32_t position)
{
    const std::int32_t rows = position / 100 * 64 + position % 100;
    return rows * 6 * 1000 / 47;
}

bool demo_ready()
{
    static const bool ready = [] {
        if (chdir(TK_SOURCE_DIR) != 0 || !load_demo_data())
            return false;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        SDL_Init(SDL_INIT_VIDEO);
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
        return screen != nullptr;
    }();
    return ready;
}

void BM_SceneFrame(benchmark::State& state)
{
    if (!demo_ready()) {
        state.SkipWithError("the demo's data did not load");
        return;
    }
    const int scene = static_cast<int>(state.range(0));
    // Enter the scene at its first position, as the demo does, then play on from its middle.
    reset_timeline();
    work_buffer.fill(127);
    demo_time = music_moment(scene_spans[scene - 1].first);
    draw_frame(scene_spans[scene - 1].first);
    const std::int32_t position = scene_positions[scene - 1];
    const std::int32_t start = music_moment(position);
    std::int32_t frames = 0;
    for (auto _ : state) {
        // The scene's own time runs on; the line drawings finish and then hold.
        demo_time = start + frame_ms * (frames++ % 1024);
        draw_frame(position);
        present_frame();
        benchmark::DoNotOptimize(screen->pixels);
        benchmark::ClobberMemory();
    }
    state.SetLabel("scene " + std::to_string(scene) + " at " + std::to_string(position));
}
BENCHMARK(BM_SceneFrame)->DenseRange(1, 10)->Unit(benchmark::kMicrosecond);

// The picture tunnel alone on the demo's two tunnel pictures, as scene 5 draws it: the
// work buffer cleared to 127, the time running on by one frame's worth each pass.
void BM_PictureTunnel(benchmark::State& state)
{
    if (!demo_ready()) {
        state.SkipWithError("the demo's data did not load");
        return;
    }
    const std::int32_t start = music_moment(1000) / 2;
    std::int32_t frames = 0;
    for (auto _ : state) {
        work_buffer.fill(127);
        draw_picture_tunnel(work_buffer.data(), start + frame_ms / 2 * (frames++ % 1024));
        benchmark::DoNotOptimize(work_buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PictureTunnel)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Memset1024000)->Unit(benchmark::kMicrosecond);

}   // namespace

BENCHMARK_MAIN();
