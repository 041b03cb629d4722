// The catch-up behind tinkettles --from and maker mode's jumps: the song and the
// timeline played from the start without output to a scene's first position (frames
// at 60 a second, then the sound again with every tick mixed), as the demo does
// before its real-time output begins there. Wall time per catch-up.
#include "frame/exact_start.h"
#include "frame/frame.h"
#include "frame/scene_facts.h"
#include "frame/startup.h"
#include "sound/devices.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>

namespace {

bool demo_ready()
{
    static const bool ready = [] {
        if (chdir(TK_SOURCE_DIR) != 0)
            return false;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        SDL_Init(SDL_INIT_VIDEO);
        screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
        const ModuleFile module = load_everything(nullptr);
        if (!screen || !module.bytes)
            return false;
        // The SDL device's voices, as the demo has them at 44100 Hz, without opening it.
        install_sdl_device(2);
        keep_original_module(module);
        return load_music(module);
    }();
    return ready;
}

void BM_CatchUpToScene(benchmark::State& state)
{
    if (!demo_ready()) {
        state.SkipWithError("the demo's data did not load");
        return;
    }
    const std::int32_t target = scene_spans[state.range(0) - 1].first;
    ExactPlace place{};
    for (auto _ : state) {
        if (!catch_up_to(target, &place)) {
            state.SkipWithError("the catch-up failed");
            break;
        }
    }
    state.counters["frames"] = static_cast<double>(place.frames_drawn);
    state.counters["music_s"] = place.demo_time / 1000.0;
}
// Scene 10, the last, is the longest way; scenes 2 and 7 for comparison.
BENCHMARK(BM_CatchUpToScene)->Arg(2)->Arg(7)->Arg(10)->UseRealTime()->Unit(benchmark::kMillisecond);

}   // namespace

BENCHMARK_MAIN();
