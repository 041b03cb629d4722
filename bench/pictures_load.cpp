// Loading a CGM picture with the largest elements the format allows: 100 polygons of
// 500 points each, every one cut into 498 triangles by ear clipping.
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Polygons around the picture's area; spiky ones alternate between an outer and an
// inner radius, so every second corner is reflex.
std::string picture_file(bool spiky)
{
    std::string text = "BEGMF \"bench\";\ncolrtable 1 0 0 0 255 255 255 200 40 40;\n";
    for (int p = 0; p < 100; ++p) {
        const double cx = (p % 10) * 1800.0 - 8000.0;
        const double cy = (p / 10) * 1800.0 - 8000.0;
        text += "fillcolr " + std::to_string(1 + p % 3) + ";\npolygon";
        for (int k = 0; k < 500; ++k) {
            const double radius = spiky && k % 2 ? 350.0 : 900.0;
            const double angle = 2.0 * M_PI * k / 500.0 + p * 0.1;
            text += " (" + std::to_string(std::lround(cx + radius * std::cos(angle))) + "," +
                    std::to_string(std::lround(cy + radius * std::sin(angle))) + ")";
        }
        text += ";\n";
    }
    return text + "ENDMF;\n";
}

std::string write_file(bool spiky)
{
    const std::string path =
        "/tmp/tk_bench_pictures_" + std::to_string(getpid()) + (spiky ? "_spiky.cgm" : "_round.cgm");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const std::string text = picture_file(spiky);
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return path;
}

void load_largest_elements(benchmark::State& state, bool spiky)
{
    const std::string path = write_file(spiky);
    for (auto _ : state) {
        Picture* picture = load_picture(path.c_str());
        if (!picture || !picture->shapes || picture->shapes->triangle_count != 498) {
            state.SkipWithError("the bench picture did not load as expected");
            break;
        }
        state.PauseTiming();
        free_picture(picture);
        state.ResumeTiming();
    }
    std::remove(path.c_str());
}

void BM_LoadPicture100x500Spiky(benchmark::State& state)
{
    load_largest_elements(state, true);
}

void BM_LoadPicture100x500Round(benchmark::State& state)
{
    load_largest_elements(state, false);
}

}   // namespace

BENCHMARK(BM_LoadPicture100x500Spiky)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPicture100x500Round)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
