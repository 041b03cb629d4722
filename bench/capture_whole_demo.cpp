// tinkettles-capture over the whole demo at 60 frames per second, with the video
// stream thrown away on /dev/null and the music written as WAV: how many seconds of
// demo it captures per second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The tool is built beside this program: build/bench and build/tools/capture.
fs::path capture_tool()
{
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "capture" /
           "tinkettles-capture";
}

// The demo time of the last frame in the tool's frame log, in seconds.
double captured_seconds(const fs::path& log)
{
    std::ifstream in(log);
    long long frame = 0, demo_time = 0, position = 0, scene = 0, last_time = 0;
    while (in >> frame >> demo_time >> position >> scene)
        last_time = demo_time;
    return last_time / 1000.0;
}

void BM_CaptureWholeDemo(benchmark::State& state)
{
    const fs::path folder = fs::temp_directory_path() / ("tk-bench-capture-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string command = "cd " TK_SOURCE_DIR " && " + capture_tool().string() +
                                " --fps 60 --y4m /dev/null --wav " + (folder / "music.wav").string() +
                                " --log " + (folder / "frames.log").string() + " 2>/dev/null";
    double seconds = 0;
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("tinkettles-capture failed (is the demo's data in data/?)");
            break;
        }
        seconds += captured_seconds(folder / "frames.log");
    }
    state.counters["demo_s"] = benchmark::Counter(seconds, benchmark::Counter::kAvgIterations);
    // Seconds of demo per second of wall time.
    state.counters["x_real_time"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
    fs::remove_all(folder);
}
BENCHMARK(BM_CaptureWholeDemo)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}   // namespace

BENCHMARK_MAIN();
