// Per-frame cost of the effects: the ring tunnel in both modes, the picture tunnel with
// two pictures of a few hundred triangles, the four-way mirror and the block zoom.
#include "effects/effects.h"
#include "pictures/pictures.h"

#include <benchmark/benchmark.h>
#include "memset_yardstick.h"

#include <cstring>
#include <vector>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using Frame = std::array<std::uint8_t, 64000>;

void BM_draw_rings(benchmark::State& state)
{
    build_sqrt_table();
    const auto mode = static_cast<std::int32_t>(state.range(0));
    const std::int32_t ring_width = mode == 1 ? 18 : 23;
    static Frame frame;
    std::int32_t time = 0;
    for (auto _ : state) {
        frame.fill(1);
        draw_rings(frame.data(), time, ring_width, mode, 2);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
        time += 20;
    }
}
BENCHMARK(BM_draw_rings)->Arg(1)->Arg(2);

// A grid of filled squares, two triangles each, in alternating colours.
bool write_grid_picture(const std::string& path, int columns, int rows, int size)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    std::fprintf(file, "BEGMF \"grid\";\ncolrtable 1 255 0 0 0 255 0 0 0 255;\n");
    std::fprintf(file, "intstyle SOLID;\nedgevis OFF;\n");
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int x = column * size;
            const int y = row * size;
            std::fprintf(file, "fillcolr %d;\nrect (%d,%d) (%d,%d);\n", 1 + (row + column) % 3, x, y,
                         x + size - 2, y + size - 2);
        }
    std::fprintf(file, "ENDMF;\n");
    return std::fclose(file) == 0;
}

// Two grid pictures of about the same number of squares (two triangles each).
bool load_tunnel_pictures(int squares)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tk_bench_effects_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string first = (folder / "grid1.cgm").string();
    const std::string second = (folder / "grid2.cgm").string();
    const int rows = squares >= 100 ? 10 : 5;
    const int columns = squares / rows;
    const bool written =
        write_grid_picture(first, columns, rows, 40) && write_grid_picture(second, rows, columns, 30);
    if (written) {
        tunnel_picture = load_picture(first.c_str());
        tunnel_picture2 = load_picture(second.c_str());
    }
    std::filesystem::remove_all(folder);
    return tunnel_picture && tunnel_picture2;
}

void BM_draw_picture_tunnel(benchmark::State& state)
{
    if (!load_tunnel_pictures(static_cast<int>(state.range(0)))) {
        state.SkipWithError("cannot write or load the benchmark pictures");
        return;
    }
    static Frame frame;
    std::int32_t time = 0;
    for (auto _ : state) {
        frame.fill(127);
        draw_picture_tunnel(frame.data(), time);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
        time += 20;
    }
}
// Argument: squares per picture, so twice as many triangles.
BENCHMARK(BM_draw_picture_tunnel)->Arg(50)->Arg(150);

void BM_mirror_quadrants(benchmark::State& state)
{
    static Frame frame;
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>(i * 31);
    for (auto _ : state) {
        mirror_quadrants(frame.data(), 320, 200);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_mirror_quadrants);

void BM_apply_zoom_map(benchmark::State& state)
{
    build_zoom_map(32);
    static Frame source;
    static Frame destination;
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint8_t>(i * 31);
    for (auto _ : state) {
        apply_zoom_map(source.data(), destination.data());
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_apply_zoom_map);

BENCHMARK(BM_Memset1024000)->Unit(benchmark::kMicrosecond);

}   // namespace

BENCHMARK_MAIN();
