// The tool run as a user runs it: refused arguments, missing data and a missing
// ffmpeg end with a reason and the right status; with ffmpeg installed, an MP4.
#include "capture_test_files.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

TEST(CaptureTool, RefusesBadArgumentsWithItsUsage)
{
    const fs::path folder = scratch_folder("arguments");
    std::string errors;
    for (const char* arguments : {" --fps 0", " --frames 3", " --wav", " stray", "", " --scene 3"}) {
        EXPECT_EQ(run_tool(TK_CAPTURE_TOOL + std::string(arguments), folder, &errors), 2) << arguments;
        EXPECT_NE(errors.find("usage: tinkettles-capture"), std::string::npos) << arguments;
    }
    fs::remove_all(folder.parent_path());
}

TEST(CaptureTool, DataFoundAsTheDemoFindsItOrAReason)
{
    const fs::path folder = scratch_folder("empty");
    std::string errors;
    EXPECT_EQ(run_tool(TK_CAPTURE_TOOL " --log out.log", folder, &errors), 1);
    EXPECT_EQ(errors.find("tinkettles-capture: cannot find the data folder"), 0u) << errors;
    EXPECT_NE(errors.find("folder that holds data/"), std::string::npos) << errors;
    EXPECT_EQ(run_tool(TK_CAPTURE_TOOL " --data nowhere --log log.txt", folder, &errors), 1);
    EXPECT_EQ(errors.find("tinkettles-capture: --data nowhere: No such file or directory"), 0u)
        << errors;
    // Named with --data, the data need not be in the working directory.
    EXPECT_EQ(run_tool(TK_CAPTURE_TOOL " --fps 1 --log log.txt --data " TK_SOURCE_DIR "/data",
                       folder, &errors),
              0)
        << errors;
    // Its last frame is the first at the demo's end, order 25.
    std::istringstream log(read_text(folder / "log.txt"));
    long frame = -1, time = -1, position = -1, scene = -1;
    while (log >> frame >> time >> position >> scene) {
    }
    EXPECT_GE(position, 2500);
    EXPECT_LT(position, 2510);
    EXPECT_EQ(run_tool("PATH=/nonexistent " TK_CAPTURE_TOOL " --mp4 out.mp4", folder, &errors), 1);
    EXPECT_NE(errors.find("ffmpeg"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(folder / "out.mp4"));
    fs::remove_all(folder.parent_path());
}

TEST(CaptureTool, EveryOutputPathIsTriedBeforeRendering)
{
    const fs::path folder = scratch_folder("paths");
    const std::string tool = TK_CAPTURE_TOOL " --log " + (folder / "frames.log").string();
    std::string errors;
    // Each fails at once, with the system's reason, before the first frame's progress
    // line; the contact sheet would otherwise only be written after the whole render.
    const std::string missing = (folder / "no-such-folder").string();
    for (const std::string& output : {" --contact-sheet " + missing + "/sheet.png",
                                      " --y4m " + missing + "/demo.y4m", " --wav " + missing + "/demo.wav",
                                      " --png-dir " + missing + "/frames"}) {
        EXPECT_EQ(run_tool(tool + output, folder, &errors, TK_SOURCE_DIR), 1) << output;
        EXPECT_NE(errors.find("tinkettles-capture: cannot create"), std::string::npos) << errors;
        EXPECT_NE(errors.find("no-such-folder"), std::string::npos) << errors;
        EXPECT_NE(errors.find(": No such file or directory"), std::string::npos) << errors;
        EXPECT_EQ(errors.find("position"), std::string::npos) << errors;
    }
    // --png-dir makes its own folder, never the folders above it.
    EXPECT_FALSE(fs::exists(missing));
    const fs::path plain_file = folder / "plain";
    write_text(plain_file, "x");
    EXPECT_EQ(run_tool(tool + " --png-dir " + plain_file.string(), folder, &errors, TK_SOURCE_DIR), 1);
    EXPECT_NE(errors.find("not a folder"), std::string::npos) << errors;
    fs::remove_all(folder.parent_path());
}

TEST(CaptureTool, APartWithoutFramesIsAFailure)
{
    // At one frame a second the music moves some eight rows a frame, so most one-row
    // parts fall between two frames: find one in the log of the whole capture.
    const fs::path folder = scratch_folder("empty-part");
    std::string errors;
    const fs::path log = folder / "whole.log";
    ASSERT_EQ(run_tool(TK_CAPTURE_TOOL " --fps 1 --log " + log.string(), folder, &errors, TK_SOURCE_DIR), 0)
        << errors;
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
    const std::string part = " --fps 1 --from " + std::to_string(unseen) + " --to " + std::to_string(unseen + 1);
    EXPECT_EQ(run_tool(TK_CAPTURE_TOOL + part + " --wav " + (folder / "part.wav").string(), folder, &errors,
                       TK_SOURCE_DIR), 1);
    EXPECT_NE(errors.find("tinkettles-capture: no frame"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(folder / "part.wav.audio.wav"));
    fs::remove_all(folder.parent_path());
}

TEST(CaptureTool, MakesAnMp4WithFfmpeg)
{
    if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path folder = scratch_folder("mp4");
    const fs::path movie = folder / "demo.mp4";
    std::string errors;
    ASSERT_EQ(run_tool(TK_CAPTURE_TOOL " --fps 1 --mp4 " + movie.string(), folder, &errors, TK_SOURCE_DIR), 0)
        << errors;
    const std::string probe = "ffprobe -v error -show_entries stream=codec_type,width,height -of csv=p=0 " +
                              movie.string() + " >" + (folder / "streams.txt").string();
    ASSERT_EQ(std::system(probe.c_str()), 0);
    const std::string streams = read_text(folder / "streams.txt");
    EXPECT_NE(streams.find("video,640,480"), std::string::npos) << streams;
    EXPECT_NE(streams.find("audio"), std::string::npos) << streams;
    // Only the MP4 is left: the video alone and the temporary music are gone.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 3u);   // demo.mp4, streams.txt, errors.txt
    fs::remove_all(folder.parent_path());
}

}  // namespace
