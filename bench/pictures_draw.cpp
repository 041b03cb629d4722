// One frame's worth of each kind of picture drawing: a picture of about 2,000
// triangles with outlines at scale 100, one centred caption of 11 characters, and
// 5,000 text-picture segments.
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <benchmark/benchmark.h>
#include "memset_yardstick.h"

#include <cstring>
#include <vector>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

std::string write_file(const std::string& name, const std::string& text)
{
    const std::string path = "/tmp/tk_bench_draw_" + std::to_string(getpid()) + "_" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return path;
}

// 100 overlapping 22-point outlined polygons of varied size: 2,000 triangles.
Picture* bench_picture()
{
    std::string text = "BEGMF \"bench\";\ncolrtable 1 0 0 0 255 255 255 200 40 40 40 200 40;\n";
    for (int p = 0; p < 100; ++p) {
        const double cx = std::sin(p * 1.7) * 7000.0;
        const double cy = std::cos(p * 2.3) * 4000.0;
        const double radius = 500.0 + (p % 7) * 400.0;
        text += "fillcolr " + std::to_string(1 + p % 4) + ";\nlinecolr " + std::to_string(1 + (p + 1) % 4) +
                ";\npolygon";
        for (int k = 0; k < 22; ++k) {
            const double angle = 2.0 * M_PI * k / 22.0;
            text += " (" + std::to_string(std::lround(cx + radius * std::cos(angle))) + "," +
                    std::to_string(std::lround(cy + radius * std::sin(angle))) + ")";
        }
        text += ";\n";
    }
    text += "line (-10000,-6000) (10000,6000);\n";
    const std::string path = write_file("picture.cgm", text + "ENDMF;\n");
    Picture* picture = load_picture(path.c_str());
    std::remove(path.c_str());
    return picture;
}

// 100 polylines of 51 points wandering a few pixels per step: 5,000 segments.
TextPicture* bench_text_picture()
{
    std::string text;
    for (int p = 0; p < 100; ++p) {
        text += "51";
        for (int k = 0; k < 51; ++k) {
            const int x =
                200 + (p * 37) % 2000 + static_cast<int>(std::lround(std::cos(k * 0.7 + p) * 24.0 * (k % 5)));
            const int y =
                300 + (p * 53) % 1400 + static_cast<int>(std::lround(std::sin(k * 0.9 + p) * 24.0 * (k % 4)));
            text += " " + std::to_string(x) + " " + std::to_string(y);
        }
        text += "\n";
    }
    const std::string path = write_file("lines.txt", text + "-1\n");
    TextPicture* picture = load_text_picture(path.c_str());
    std::remove(path.c_str());
    return picture;
}

std::array<std::uint8_t, 320 * 200> frame;

void BM_DrawPicture2000Triangles(benchmark::State& state)
{
    Picture* picture = bench_picture();
    if (!picture) {
        state.SkipWithError("bench picture did not load");
        return;
    }
    std::int64_t triangles = 0;
    for (const Shape* s = picture->shapes; s; s = s->next)
        triangles += s->triangle_count;
    state.counters["triangles"] = static_cast<double>(triangles);
    picture_scale = 100;
    picture_offset_x = 0;
    picture_offset_y = 0;
    for (auto _ : state) {
        draw_picture(picture, frame.data(), screen_transform);
        benchmark::ClobberMemory();
    }
    free_picture(picture);
}

void BM_DrawCentredCaption11(benchmark::State& state)
{
    const std::string font = std::string(TK_SOURCE_DIR) + "/data/fontti.raw";
    if (load_font(font.c_str()) != 0) {
        // No font data in this tree: a blank image still draws every pixel test.
        const std::string blank = write_file("font.raw", std::string(122880, '\x80'));
        load_font(blank.c_str());
        std::remove(blank.c_str());
    }
    std::int32_t time = 0;
    for (auto _ : state) {
        draw_caption(frame.data(), 160, 100, "tin kettles", 1, time, 5);
        time += 20;
        benchmark::ClobberMemory();
    }
}

void BM_DrawTextPicture5000Segments(benchmark::State& state)
{
    TextPicture* picture = bench_text_picture();
    if (!picture) {
        state.SkipWithError("bench text picture did not load");
        return;
    }
    for (auto _ : state) {
        draw_text_picture(frame.data(), picture, 0, 4999, 7);
        benchmark::ClobberMemory();
    }
    free_text_picture(picture);
}

BENCHMARK(BM_Memset1024000)->Unit(benchmark::kMicrosecond);

}   // namespace

BENCHMARK(BM_DrawPicture2000Triangles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawCentredCaption11)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawTextPicture5000Segments)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
