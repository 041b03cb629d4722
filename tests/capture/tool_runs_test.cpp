// The tool run as a user runs it: refused arguments, missing data and a missing
// ffmpeg end with a reason and the right status; with ffmpeg installed, an MP4.
#include "capture_test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

namespace {

TEST(CaptureTool, RefusesBadArgumentsWithItsUsage)
{
    const ScratchFolder folder("capture-arguments");
    for (const char* arguments : {" --fps 0", " --frames 3", " --wav", " stray", "", " --scene 3"}) {
        const ProgramRun run = run_program(TK_CAPTURE_TOOL + std::string(arguments), folder.path);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.errors.find("usage: tinkettles-capture"), std::string::npos) << arguments;
    }
}

TEST(CaptureTool, DataFoundAsTheDemoFindsItOrAReason)
{
    const ScratchFolder folder("capture-empty");
    ProgramRun run = run_program(TK_CAPTURE_TOOL " --log out.log", folder.path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors.find("tinkettles-capture: cannot find the data folder"), 0u) << run.errors;
    EXPECT_NE(run.errors.find("folder that holds data/"), std::string::npos) << run.errors;
    run = run_program(TK_CAPTURE_TOOL " --data nowhere --log log.txt", folder.path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors.find("tinkettles-capture: --data nowhere: No such file or directory"), 0u)
        << run.errors;
    // Named with --data, the data need not be in the working directory.
    run = run_program(TK_CAPTURE_TOOL " --fps 1 --log log.txt --data " TK_SOURCE_DIR "/data", folder.path);
    EXPECT_EQ(run.status, 0) << run.errors;
    // Its last frame is the first at the demo's end, order 25.
    std::istringstream log(read_text(folder / "log.txt"));
    long frame = -1, time = -1, position = -1, scene = -1;
    while (log >> frame >> time >> position >> scene) {
    }
    EXPECT_GE(position, 2500);
    EXPECT_LT(position, 2510);
    run = run_program("PATH=/nonexistent " TK_CAPTURE_TOOL " --mp4 out.mp4", folder.path);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("ffmpeg"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(folder / "out.mp4"));
}

// The module goes through the demo's start-up: missing or refused, it is named by the
// path opened, in one line under the capture's own name, before any output is made.
TEST(CaptureTool, AMissingOrRefusedModuleIsNamed)
{
    const ScratchFolder folder("capture-module");
    const fs::path data = folder / "data";
    fs::copy(fs::path(TK_SOURCE_DIR) / "data", data);
    const fs::path module = data / "da_wobble.mod";
    const std::string tool = TK_CAPTURE_TOOL " --data " + data.string() + " --wav out.wav";
    fs::resize_file(module, 3000);   // the header, and patterns that stop short
    ProgramRun run = run_program(tool, folder.path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors,
              "tinkettles-capture: " + module.string() + ": the patterns reach beyond the end of the file\n");
    fs::remove(module);
    run = run_program(tool, folder.path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors,
              "tinkettles-capture: cannot open " + module.string() + ": No such file or directory\n");
    EXPECT_FALSE(fs::exists(folder / "out.wav"));
}

TEST(CaptureTool, EveryOutputPathIsTriedBeforeRendering)
{
    const ScratchFolder folder("capture-paths");
    const std::string tool = TK_CAPTURE_TOOL " --log " + (folder / "frames.log").string();
    // Each fails at once, with the system's reason, before the first frame's progress
    // line; the contact sheet would otherwise only be written after the whole render.
    const std::string missing = (folder / "no-such-folder").string();
    for (const std::string& output :
         {" --contact-sheet " + missing + "/sheet.png", " --y4m " + missing + "/demo.y4m",
          " --wav " + missing + "/demo.wav", " --png-dir " + missing + "/frames"}) {
        const ProgramRun run = run_program(tool + output, TK_SOURCE_DIR);
        const std::string& errors = run.errors;
        EXPECT_EQ(run.status, 1) << output;
        EXPECT_NE(errors.find("tinkettles-capture: cannot create"), std::string::npos) << errors;
        EXPECT_NE(errors.find("no-such-folder"), std::string::npos) << errors;
        EXPECT_NE(errors.find(": No such file or directory"), std::string::npos) << errors;
        EXPECT_EQ(errors.find("position"), std::string::npos) << errors;
    }
    // --png-dir makes its own folder, never the folders above it.
    EXPECT_FALSE(fs::exists(missing));
    const fs::path plain_file = folder / "plain";
    write_text(plain_file, "x");
    const ProgramRun run = run_program(tool + " --png-dir " + plain_file.string(), TK_SOURCE_DIR);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("not a folder"), std::string::npos) << run.errors;
}

TEST(CaptureTool, APartWithoutFramesIsAFailure)
{
    // At one frame a second the music moves some eight rows a frame, so most one-row
    // parts fall between two frames: find one in the log of the whole capture.
    const ScratchFolder folder("capture-empty-part");
    const fs::path log = folder / "whole.log";
    const ProgramRun whole = run_program(TK_CAPTURE_TOOL " --fps 1 --log " + log.string(), TK_SOURCE_DIR);
    ASSERT_EQ(whole.status, 0) << whole.errors;
    std::set<int> shown;
    std::istringstream lines(read_text(log));
    long long frame = 0;
    int moment = 0, position = 0, scene = 0;
    while (lines >> frame >> moment >> position >> scene)
        shown.insert(position);
    int unseen = 300;
    while (shown.count(unseen))
        ++unseen;
    ASSERT_LT(unseen, 364);
    const std::string part =
        " --fps 1 --from " + std::to_string(unseen) + " --to " + std::to_string(unseen + 1);
    const ProgramRun run =
        run_program(TK_CAPTURE_TOOL + part + " --wav " + (folder / "part.wav").string(), TK_SOURCE_DIR);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("tinkettles-capture: no frame"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(folder / "part.wav.audio.wav"));
}

TEST(CaptureTool, MakesAnMp4WithFfmpeg)
{
    if (run_program("command -v ffmpeg && command -v ffprobe").status != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    const ScratchFolder folder("capture-mp4");
    const fs::path movie = folder / "demo.mp4";
    const ProgramRun run = run_program(TK_CAPTURE_TOOL " --fps 1 --mp4 " + movie.string(), TK_SOURCE_DIR);
    ASSERT_EQ(run.status, 0) << run.errors;
    const ProgramRun probe = run_program(
        "ffprobe -v error -show_entries stream=codec_type,width,height -of csv=p=0 " + movie.string());
    ASSERT_EQ(probe.status, 0);
    const std::string& streams = probe.out;
    EXPECT_NE(streams.find("video,640,480"), std::string::npos) << streams;
    EXPECT_NE(streams.find("audio"), std::string::npos) << streams;
    // Only the MP4 is left: the video alone and the temporary music are gone.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path))
        ++files;
    EXPECT_EQ(files, 1u);   // demo.mp4
}

// A Y4M file's frames, each its three planes.
std::vector<std::vector<std::uint8_t>> y4m_frames(const fs::path& path, std::size_t frame_bytes)
{
    const std::vector<std::uint8_t> bytes = read_bytes(path);
    std::vector<std::vector<std::uint8_t>> frames;
    auto at = std::find(bytes.begin(), bytes.end(), '\n');
    while (at != bytes.end() && bytes.end() - at > static_cast<long>(6 + frame_bytes)) {
        at += 7;   // the header's or the last frame's end, then "FRAME\n"
        frames.emplace_back(at, at + static_cast<long>(frame_bytes));
        at += static_cast<long>(frame_bytes) - 1;
    }
    return frames;
}

std::string first_line(const fs::path& path)
{
    const std::string text = read_text(path);
    return text.substr(0, text.find('\n'));
}

// The same frames as PNG files at 1x and enlarged: every screen pixel a block.
TEST(CaptureTool, ScaledFramesAreTheScreensPixelsEnlarged)
{
    const ScratchFolder folder("capture-scaled");
    // About two frames of scene 3, where pictures fill the screen.
    const std::string part = TK_CAPTURE_TOOL " --fps 2 --from 500 --to 508";
    for (const char* scale : {"1", "3", "4.5"}) {
        const std::string run_line = part + " --scale " + scale + " --png-dir " + (folder / scale).string();
        const ProgramRun run = run_program(run_line, TK_SOURCE_DIR);
        ASSERT_EQ(run.status, 0) << run.errors;
    }
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder / "1"))
        names.push_back(entry.path().filename());
    ASSERT_FALSE(names.empty());
    for (const fs::path& name : names) {
        const PngImage screen = read_png(folder / "1" / name);
        const PngImage tripled = read_png(folder / "3" / name);
        const PngImage largest = read_png(folder / "4.5" / name);
        ASSERT_EQ(screen.width, 640);
        ASSERT_EQ(tripled.width, 1920);
        ASSERT_EQ(tripled.height, 1440);
        for (int y = 0; y < 1440; ++y)
            for (int x = 0; x < 1920; ++x)
                ASSERT_EQ(tripled.rgb(x, y), screen.rgb(x / 3, y / 3)) << name << ": " << x << ", " << y;
        // 2880x2160: screen line 2m on rows 9m .. 9m + 3, line 2m + 1 on rows 9m + 5 ..
        // 9m + 8, their mean per channel (rounded half up) on row 9m + 4.
        ASSERT_EQ(largest.width, 2880);
        ASSERT_EQ(largest.height, 2160);
        for (int y = 0; y < 2160; ++y)
            for (int x = 0; x < 2880; ++x) {
                const int even_line = y / 9 * 2, r = y % 9, column = x * 2 / 9;
                const std::uint8_t* upper = screen.at(column, even_line);
                const std::uint8_t* lower = screen.at(column, even_line + 1);
                const std::uint8_t* got = largest.at(x, y);
                for (int c = 0; c < 3; ++c) {
                    const int wanted = r < 4 ? upper[c] : (r > 4 ? lower[c] : (upper[c] + lower[c] + 1) / 2);
                    ASSERT_EQ(got[c], wanted) << name << ": " << x << ", " << y << " channel " << c;
                }
            }
    }
    // The video stream at scale 2: its luma is the 1x stream's, each sample a 2x2 square.
    for (const char* scale : {"1", "2"}) {
        const std::string file = (folder / (std::string(scale) + ".y4m")).string();
        const ProgramRun run = run_program(part + " --scale " + scale + " --y4m " + file, TK_SOURCE_DIR);
        ASSERT_EQ(run.status, 0) << run.errors;
    }
    EXPECT_EQ(first_line(folder / "2.y4m"), "YUV4MPEG2 W1280 H960 F2:1 Ip A1:1 C420jpeg");
    const auto single = y4m_frames(folder / "1.y4m", 640 * 480 * 3 / 2);
    const auto doubled = y4m_frames(folder / "2.y4m", 1280 * 960 * 3 / 2);
    ASSERT_EQ(single.size(), names.size());
    ASSERT_EQ(doubled.size(), names.size());
    for (std::size_t f = 0; f < single.size(); ++f)
        for (int y = 0; y < 960; ++y)
            for (int x = 0; x < 1280; ++x)
                ASSERT_EQ(doubled[f][y * 1280 + x], single[f][y / 2 * 640 + x / 2])
                    << f << ": " << x << ", " << y;
}

// The upload-ready MP4 at 1920x1440: its streams as video sites ask for them, and its
// frames close enough to the capture's that the hard pixel edges survive.
TEST(CaptureTool, ScaledMp4IsReadyForAVideoSite)
{
    if (run_program("command -v ffmpeg && command -v ffprobe").status != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    const ScratchFolder folder("capture-scaled-mp4");
    const fs::path movie = folder / "demo.mp4", stream = folder / "demo.y4m";
    const ProgramRun run = run_program(
        TK_CAPTURE_TOOL " --fps 10 --to 24 --scale 3 --mp4 " + movie.string() + " --y4m " + stream.string(),
        TK_SOURCE_DIR);
    ASSERT_EQ(run.status, 0) << run.errors;
    // Each stream's entries as "key=value" lines, the video's first.
    const ProgramRun probe = run_program(
        "ffprobe -v error -show_entries stream=codec_name,profile,width,height,pix_fmt,r_frame_rate,"
        "avg_frame_rate,sample_rate,channels,bit_rate,color_space,color_range -of default=nw=1 " +
        movie.string());
    ASSERT_EQ(probe.status, 0);
    const std::string audio = probe.out.substr(probe.out.find("codec_name=aac"));
    const std::string video = probe.out.substr(0, probe.out.size() - audio.size());
    for (const char* entry :
         {"codec_name=h264\n", "profile=High\n", "width=1920\n", "height=1440\n", "pix_fmt=yuv420p\n",
          "r_frame_rate=10/1\n", "avg_frame_rate=10/1\n", "color_space=smpte170m\n", "color_range=tv\n"})
        EXPECT_NE(video.find(entry), std::string::npos) << entry << video;
    for (const char* entry : {"profile=LC\n", "sample_rate=48000\n", "channels=2\n"})
        EXPECT_NE(audio.find(entry), std::string::npos) << entry << audio;
    const std::size_t rate = audio.find("bit_rate=");
    ASSERT_NE(rate, std::string::npos) << audio;
    EXPECT_GE(std::atol(audio.c_str() + rate + 9), 320000) << audio;

    // Luma only: chroma is shared by 2x2 samples in both streams alike. A smeared edge
    // between a bright and a dimmed line is off by tens of levels; the blocks survive
    // when nearly every sample is within 2 levels and none far off.
    const fs::path decoded = folder / "decoded.yuv";
    ASSERT_EQ(run_program("ffmpeg -loglevel error -i " + movie.string() + " -f rawvideo -pix_fmt yuv420p " +
                          decoded.string())
                  .status,
              0);
    constexpr std::size_t luma_bytes = 1920 * 1440, frame_bytes = luma_bytes * 3 / 2;
    const auto source = y4m_frames(stream, frame_bytes);
    const std::vector<std::uint8_t> frames = read_bytes(decoded);
    ASSERT_FALSE(source.empty());
    ASSERT_EQ(frames.size(), source.size() * frame_bytes);
    std::size_t close = 0;
    int worst = 0;
    for (std::size_t f = 0; f < source.size(); ++f)
        for (std::size_t i = 0; i < luma_bytes; ++i) {
            const int off = std::abs(frames[f * frame_bytes + i] - source[f][i]);
            close += off <= 2;
            worst = std::max(worst, off);
        }
    EXPECT_GE(static_cast<double>(close) / static_cast<double>(source.size() * luma_bytes), 0.999);
    EXPECT_LE(worst, 24);
}

}   // namespace
