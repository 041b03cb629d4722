// The tool run as a user runs it: refused arguments, missing data and a missing
// ffmpeg end with a reason and the right status; with ffmpeg installed, an MP4.
#include "capture_test_files.h"

#include <gtest/gtest.h>

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

}   // namespace
