// The flash analysis and the calm presentation, per frame: on a still picture of rings
// (the usual case: nothing swings), and on a full screen flashing at 6 Hz (every cell
// swings and the worst-field search runs on every frame); and tinkettles-capture's
// flash report over the whole demo at 60 frames a second.
#include "flash_analysis.h"
#include "frame/calm.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int width = 640, height = 400;

std::uint32_t ring_colour(int x, int y, int frame, bool flashing)
{
    if (flashing)
        return (frame / 5) % 2 ? 0xffffff : 0x000000;
    const int dx = x - 320, dy = y - 200;
    return ((dx * dx + dy * dy) / 900) % 2 ? 0xff3cc8 : 0xffb4b4;
}

void analyse_frames(benchmark::State& state, bool flashing)
{
    FlashAnalysis* analysis = new FlashAnalysis;
    if (!start_flash_analysis(analysis)) {
        state.SkipWithError("no memory");
        return;
    }
    std::vector<std::vector<std::uint32_t>> pictures(2, std::vector<std::uint32_t>(width * height));
    for (int i = 0; i < 2; ++i)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pictures[i][y * width + x] = ring_colour(x, y, 5 * i, flashing);
    std::int64_t frame = 0;
    for (auto _ : state) {
        // Frames at 60 a second; the clock wraps before the analysis's seconds run out.
        const std::int32_t time = static_cast<std::int32_t>(frame * 1000 / 60 % 600000);
        if (time == 0 && frame > 0) {
            end_flash_analysis(analysis);
            start_flash_analysis(analysis);
        }
        analyse_flash_frame(analysis, pictures[(frame / 5) % 2].data(), width, time);
        ++frame;
    }
    state.SetItemsProcessed(state.iterations());
    end_flash_analysis(analysis);
    delete analysis;
}

void BM_FlashAnalysisStill(benchmark::State& state)
{
    analyse_frames(state, false);
}
BENCHMARK(BM_FlashAnalysisStill)->Unit(benchmark::kMicrosecond);

void BM_FlashAnalysisFlashing(benchmark::State& state)
{
    analyse_frames(state, true);
}
BENCHMARK(BM_FlashAnalysisFlashing)->Unit(benchmark::kMicrosecond);

// The calm presentation of a frame flashing between two colour indexes at 6 Hz.
void BM_CalmPresentation(benchmark::State& state)
{
    SDL_Surface* format = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xff0000, 0xff00, 0xff, 0);
    std::uint32_t bright[256], dim[256];
    for (int i = 0; i < 256; ++i) {
        bright[i] = static_cast<std::uint32_t>(i) * 0x010101u;
        dim[i] = static_cast<std::uint32_t>(i * 4 / 5) * 0x010101u;
    }
    std::vector<std::uint8_t> frames[2] = {std::vector<std::uint8_t>(320 * 200, 0),
                                           std::vector<std::uint8_t>(320 * 200, 255)};
    std::vector<std::uint32_t> screen(width * height);
    enable_calm_presentation();
    std::int64_t frame = 0;
    for (auto _ : state) {
        present_calmly(frames[(frame / 5) % 2].data(), reinterpret_cast<std::uint8_t*>(screen.data()),
                       width * 4, bright, dim, format->format, static_cast<std::int32_t>(frame * 1000 / 60));
        ++frame;
    }
    state.SetItemsProcessed(state.iterations());
    disable_calm_presentation();
    SDL_FreeSurface(format);
}
BENCHMARK(BM_CalmPresentation)->Unit(benchmark::kMicrosecond);

fs::path capture_tool()
{
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "capture" /
           "tinkettles-capture";
}

// The whole demo at 60 frames a second, with only the flash report written (the frames
// are still drawn and presented): its frames analysed per second of wall time.
void BM_FlashReportWholeDemo(benchmark::State& state)
{
    const fs::path report =
        fs::temp_directory_path() / ("tk-bench-flash-" + std::to_string(getpid()) + ".csv");
    const std::string command = "cd " TK_SOURCE_DIR " && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " +
                                capture_tool().string() + " --fps 60 --flash-report " + report.string() +
                                " 2>/dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("tinkettles-capture failed");
    fs::remove(report);
    state.counters["frames"] = 12250;   // 204.2 s at 60 a second
    state.counters["frames_per_s"] =
        benchmark::Counter(12250.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FlashReportWholeDemo)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}   // namespace

BENCHMARK_MAIN();
