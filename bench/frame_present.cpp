// Presenting one frame against the floor it cannot beat: writing the same 1,024,000
// bytes of screen pixels with memset.
#include "frame/frame.h"
#include "frame/present_kernels.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

SDL_Surface* make_memory_screen()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_VIDEO);
    return SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
}

void BM_PresentFrame(benchmark::State& state)
{
    screen = make_memory_screen();
    for (int i = 0; i < 256; ++i)
        set_colour(i, i, 255 - i, i / 2);
    std::mt19937 random(1);
    for (auto& byte : work_buffer)
        byte = static_cast<std::uint8_t>(random());
    display_buffer = work_buffer.data();
    for (auto _ : state) {
        present_frame();
        benchmark::DoNotOptimize(screen->pixels);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 400 * 4);
    SDL_FreeSurface(screen);
    screen = nullptr;
}
BENCHMARK(BM_PresentFrame)->Unit(benchmark::kMicrosecond);

// Each conversion kernel on its own, into the same memory surface; the label names it.
void BM_PresentKernel(benchmark::State& state)
{
    const PresentKernel& kernel = present_kernels[state.range(0)];
    if (!kernel.runs_here()) {
        state.SkipWithError("not on this processor");
        return;
    }
    std::vector<PixelQuad> quads(256);
    std::mt19937 random(2);
    for (auto& quad : quads) {
        const auto bright = static_cast<std::uint32_t>(random());
        const auto dim = static_cast<std::uint32_t>(random());
        quad = {{bright, bright}, {dim, dim}};
    }
    std::vector<std::uint8_t> frame(320 * 200);
    for (auto& byte : frame)
        byte = static_cast<std::uint8_t>(random());
    std::vector<std::uint8_t> surface(640 * 480 * 4);
    for (auto _ : state) {
        kernel.convert(frame.data(), surface.data() + 40 * 2560, 2560, quads.data());
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 400 * 4);
    state.SetLabel(kernel.name);
}
BENCHMARK(BM_PresentKernel)->DenseRange(0, present_kernel_count - 1)->Unit(benchmark::kMicrosecond);

void BM_MemsetOfOneFrame(benchmark::State& state)
{
    std::vector<std::uint8_t> pixels(640 * 400 * 4);
    int value = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), value++ & 0xff, pixels.size());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(pixels.size()));
}
BENCHMARK(BM_MemsetOfOneFrame)->Unit(benchmark::kMicrosecond);

}   // namespace

BENCHMARK_MAIN();
