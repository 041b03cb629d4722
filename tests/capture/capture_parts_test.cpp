// The capture tool's parts: its command line, the schedule of music buffers against
// frames, the colour conversion of the video stream and the contact sheet's choice of
// frames.
#include "capture_options.h"
#include "contact_sheet.h"
#include "mp4_encoder.h"
#include "offline_music.h"
#include "y4m_stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// The exit status the command line decides, or -1 when the capture would run.
int parse_status(std::initializer_list<const char*> arguments, CaptureOptions* options)
{
    // The options keep pointers into argv, so it holds the literals themselves; the
    // parser never writes through them.
    std::vector<char*> argv{const_cast<char*>("tinkettles-capture")};
    for (const char* argument : arguments)
        argv.push_back(const_cast<char*>(argument));
    int status = -1;
    return parse_capture_options(static_cast<int>(argv.size()), argv.data(), options, &status) ? -1 : status;
}

bool parse(std::initializer_list<const char*> arguments, CaptureOptions* options)
{
    return parse_status(arguments, options) < 0;
}

TEST(CaptureOptions, EveryOptionTakesItsValue)
{
    CaptureOptions options;
    ASSERT_TRUE(parse({"--log", "a.log"}, &options));
    EXPECT_EQ(options.fps, 60);
    EXPECT_EQ(options.y4m_file, nullptr);
    EXPECT_EQ(options.wav_file, nullptr);
    EXPECT_EQ(options.from_position, part_open_start);
    EXPECT_EQ(options.to_position, part_open_end);

    ASSERT_TRUE(parse({"--fps", "25", "--png-dir", "frames", "--y4m", "-", "--wav", "a.wav", "--mp4", "a.mp4",
                       "--log", "a.log", "--contact-sheet", "s.png"},
                      &options));
    EXPECT_EQ(options.fps, 25);
    EXPECT_STREQ(options.png_dir, "frames");
    EXPECT_STREQ(options.y4m_file, "-");
    EXPECT_STREQ(options.wav_file, "a.wav");
    EXPECT_STREQ(options.mp4_file, "a.mp4");
    EXPECT_STREQ(options.log_file, "a.log");
    EXPECT_STREQ(options.contact_sheet, "s.png");
}

TEST(CaptureOptions, BadArgumentsAreRefused)
{
    const std::initializer_list<const char*> refused[] = {
        {"--fps"},
        {"--fps", "0"},
        {"--fps", "1001"},
        {"--fps", "12x"},
        {"--fps", ""},
        {"--fps", "-5"},
        {"--fps", "99999999999999999999"},
        {"--wav"},
        {"--wav", ""},
        {"--wav", "-"},
        {"--bogus", "x"},
        {"out.wav"},
        {"--fps", "2", "--fps", "3"},
        {"--log", "a", "--log", "b"},
        // No output at all is a mistake of its own.
        {},
        {"--fps", "30"},
        // Parts: positions are order x 100 + row, rows 0 to 63, the end after the start.
        {"--log", "l", "--from", "164"},
        {"--log", "l", "--to", "2501"},
        {"--log", "l", "--from", "-1"},
        {"--log", "l", "--from", "900", "--to", "900"},
        {"--log", "l", "--from", "900", "--to", "863"},
        {"--log", "l", "--scene", "0"},
        {"--log", "l", "--scene", "11"},
        {"--log", "l", "--scene", "2", "--from", "300"},
        {"--log", "l", "--from", "1", "--from", "2"},
        // Scales: whole or half steps from 1 to 4.5, for outputs that have frames.
        {"--y4m", "-", "--scale", "0.5"},
        {"--y4m", "-", "--scale", "5"},
        {"--y4m", "-", "--scale", "2.25"},
        {"--y4m", "-", "--scale", "2x"},
        {"--y4m", "-", "--scale", "2", "--scale", "2"},
        {"--wav", "a.wav", "--log", "l", "--scale", "2"},
    };
    for (const auto& arguments : refused) {
        CaptureOptions options;
        std::string shown;
        for (const char* argument : arguments)
            shown += std::string(" '") + argument + "'";
        EXPECT_EQ(parse_status(arguments, &options), 2) << shown;
    }
}

TEST(CaptureOptions, ScaleIsKeptAsOutputPixelsPerPicturePixel)
{
    CaptureOptions options;
    ASSERT_TRUE(parse({"--y4m", "-"}, &options));
    EXPECT_EQ(options.pixel_block, 2);
    ASSERT_TRUE(parse({"--png-dir", "p", "--scale", "1"}, &options));
    EXPECT_EQ(options.pixel_block, 2);
    ASSERT_TRUE(parse({"--mp4", "a.mp4", "--scale", "3"}, &options));
    EXPECT_EQ(options.pixel_block, 6);
    ASSERT_TRUE(parse({"--scale", "4.5", "--y4m", "-"}, &options));
    EXPECT_EQ(options.pixel_block, 9);
    const FrameScale largest = frame_scale(options.pixel_block);
    EXPECT_EQ(largest.width, 2880);
    EXPECT_EQ(largest.height, 2160);
    EXPECT_EQ(yuv_frame_size(largest), 2880u * 2160 * 3 / 2);
}

TEST(CaptureOptions, HelpAndVersionEndTheRunWithSuccess)
{
    CaptureOptions options;
    testing::internal::CaptureStdout();
    // Asking for help gets it, whatever else the command line holds.
    EXPECT_EQ(parse_status({"--fps", "0", "--help"}, &options), 0);
    EXPECT_EQ(parse_status({"--help", "--bogus"}, &options), 0);
    // After "--" it is no longer an option.
    EXPECT_EQ(parse_status({"--log", "l", "--", "--help"}, &options), 2);
    EXPECT_EQ(parse_status({"--version"}, &options), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("usage: tinkettles-capture", 0), 0u) << out;
    EXPECT_NE(out.find("tinkettles-capture " TINKETTLES_VERSION "\n"), std::string::npos) << out;
}

TEST(CaptureOptions, PartsAreHalfOpenRangesOfMusicPositions)
{
    CaptureOptions options;
    ASSERT_TRUE(parse({"--wav", "w", "--from", "1132", "--to", "1208"}, &options));
    EXPECT_EQ(options.from_position, 1132);
    EXPECT_EQ(options.to_position, 1208);
    ASSERT_TRUE(parse({"--wav", "w", "--to", "2500"}, &options));
    EXPECT_EQ(options.from_position, part_open_start);
    EXPECT_EQ(options.to_position, 2500);
    // Scenes by the script's orders: 1 is 0-1 (open at the start, before the first
    // tick too), 3 is 4-6, 10 is 23 on (open at the end).
    ASSERT_TRUE(parse({"--wav", "w", "--scene", "3"}, &options));
    EXPECT_EQ(options.from_position, 400);
    EXPECT_EQ(options.to_position, 700);
    std::int32_t from = 0, to = 0;
    scene_positions(1, &from, &to);
    EXPECT_EQ(from, part_open_start);
    EXPECT_EQ(to, 200);
    scene_positions(6, &from, &to);
    EXPECT_EQ(from, 1100);
    EXPECT_EQ(to, 1500);
    scene_positions(10, &from, &to);
    EXPECT_EQ(from, 2300);
    EXPECT_EQ(to, part_open_end);
}

TEST(MusicSchedule, BuffersBeginningByAFramesMomentAreDueForIt)
{
    // Buffers begin every 2048 / 44100 s = 46.44 ms.
    EXPECT_TRUE(buffer_begins_by(0, 0, 60));
    EXPECT_FALSE(buffer_begins_by(1, 0, 60));
    EXPECT_FALSE(buffer_begins_by(1, 2, 60));   // 33.3 ms
    EXPECT_TRUE(buffer_begins_by(1, 3, 60));    // 50 ms
    EXPECT_FALSE(buffer_begins_by(2, 5, 60));   // 83.3 ms < 92.9 ms
    EXPECT_TRUE(buffer_begins_by(2, 6, 60));    // 100 ms
    // Exactly on the boundary: buffer 441 begins at 2048 * 441 / 44100 = 20.48 s,
    // the moment of frame 512 at 25 frames per second.
    EXPECT_TRUE(buffer_begins_by(441, 512, 25));
    EXPECT_FALSE(buffer_begins_by(442, 512, 25));
    // A whole demo's worth of frames stays exact in 64 bits.
    EXPECT_TRUE(buffer_begins_by(4400, 1000 * 210, 1000));

    EXPECT_EQ(samples_for_frames(60, 60), 44100);
    EXPECT_EQ(samples_for_frames(1, 60), 735);
    EXPECT_EQ(samples_for_frames(7, 3), 102900);
}

TEST(VideoStream, ColoursBecomeStudioRangeYuv)
{
    const YuvColour black = rgb_to_yuv(0, 0, 0);
    const YuvColour white = rgb_to_yuv(255, 255, 255);
    const YuvColour red = rgb_to_yuv(255, 0, 0);
    const YuvColour blue = rgb_to_yuv(0, 0, 255);
    EXPECT_EQ((std::vector<int>{black.y, black.cb, black.cr}), (std::vector<int>{16, 128, 128}));
    EXPECT_EQ((std::vector<int>{white.y, white.cb, white.cr}), (std::vector<int>{235, 128, 128}));
    EXPECT_EQ((std::vector<int>{red.y, red.cb, red.cr}), (std::vector<int>{82, 90, 240}));
    EXPECT_EQ((std::vector<int>{blue.y, blue.cb, blue.cr}), (std::vector<int>{41, 240, 110}));
}

TEST(VideoStream, ChromaIsTheMeanOfEachTwoByTwoBlock)
{
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
    ASSERT_NE(surface, nullptr);
    // Bright lines white, dimmed lines black, as a scan-lined white picture would be
    // if its dim lines were black.
    for (int y = 0; y < 480; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                     y * surface->pitch);
        for (int x = 0; x < 640; ++x)
            row[x] = y % 2 == 0 ? 0x00ffffffu : 0x00ff0000u;
    }
    std::vector<std::uint8_t> planes(yuv_frame_bytes);
    convert_to_yuv420(surface, planes.data());
    EXPECT_EQ(planes[0], 235);
    EXPECT_EQ(planes[640], 82);
    // The block's mean is (255, 128, 128): Cb = 128 + floor(-4698 / 256) = 109 and
    // Cr = 128 + floor(14352 / 256) = 184.
    const std::size_t cb = 640 * 480, cr = cb + 320 * 240;
    EXPECT_EQ(planes[cb], 109);
    EXPECT_EQ(planes[cr], 184);
    EXPECT_EQ(planes[cr + 320 * 240 - 1], planes[cr]);
    SDL_FreeSurface(surface);
}

// A surface of 640x480 pixels 0x00RRGGBB and its rows.
struct TestScreen {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
    ~TestScreen() { SDL_FreeSurface(surface); }
    std::uint32_t* row(int y) const
    {
        return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                y * surface->pitch);
    }
};

std::vector<std::uint32_t> scaled_row(const TestScreen& screen, const FrameScale& scale, int y)
{
    std::vector<std::uint32_t> row(static_cast<std::size_t>(scale.width));
    scaled_screen_row(screen.surface, scale, y, row.data());
    return row;
}

TEST(ScaledScreen, WholeScalesRepeatEveryScreenPixelAsASquare)
{
    // Every screen pixel different from its neighbours, so that a block taken from the
    // wrong pixel, even the other of a pair, shows.
    const TestScreen screen;
    ASSERT_NE(screen.surface, nullptr);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            screen.row(y)[x] = static_cast<std::uint32_t>(y * 640 + x) * 2654435761u >> 8;
    for (int scale = 1; scale <= 4; ++scale) {
        const FrameScale frame = frame_scale(2 * scale);
        ASSERT_EQ(frame.width, 640 * scale);
        ASSERT_EQ(frame.height, 480 * scale);
        for (int y = 0; y < frame.height; ++y) {
            const std::vector<std::uint32_t> row = scaled_row(screen, frame, y);
            for (int x = 0; x < frame.width; ++x)
                ASSERT_EQ(row[x], screen.row(y / scale)[x / scale]) << scale << ": " << x << ", " << y;
        }
    }
}

TEST(ScaledScreen, HalfScalesLightEachPictureRowBrightThenMeanThenDimmed)
{
    // A presented screen: picture pixel (px, py) on screen pixels 2px..2px+1 of lines
    // 40 + 2py (bright) and 41 + 2py (dimmed), black above and below.
    const TestScreen screen;
    ASSERT_NE(screen.surface, nullptr);
    auto bright = [](int px, int py) {
        return static_cast<std::uint32_t>(px * 0x010203 + py * 0x030100) & 0xffffff;
    };
    auto dimmed = [](int px, int py) {
        return static_cast<std::uint32_t>(px * 0x020301 + py * 0x000305) & 0xffffff;
    };
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const bool picture = y >= 40 && y < 440;
            const int px = x / 2, py = (y - 40) / 2;
            screen.row(y)[x] = !picture ? 0 : (y % 2 == 0 ? bright(px, py) : dimmed(px, py));
        }
    // Scale 4.5, 2880x2160: nine rows a picture row, 180 black rows above and below;
    // rows 0-3 bright, row 4 the mean, rows 5-8 dimmed; nine columns a picture pixel.
    const FrameScale frame = frame_scale(9);
    for (int y = 0; y < frame.height; ++y) {
        const std::vector<std::uint32_t> row = scaled_row(screen, frame, y);
        const int py = (y - 180) / 9, r = (y - 180) % 9;
        for (int x = 0; x < frame.width; ++x) {
            const int px = x / 9;
            if (y < 180 || y >= 1980) {
                ASSERT_EQ(row[x], 0u) << x << ", " << y;
                continue;
            }
            const std::uint32_t b = bright(px, py), d = dimmed(px, py);
            std::uint32_t mean = 0;
            for (const int shift : {16, 8, 0})
                mean |= ((((b >> shift) & 0xff) + ((d >> shift) & 0xff) + 1) / 2) << shift;
            const std::uint32_t wanted = r < 4 ? b : (r == 4 ? mean : d);
            ASSERT_EQ(row[x], wanted) << x << ", " << y;
        }
    }
    // A worked mean, rounded half up per channel: (255, 0, 7) and (204, 1, 4) give
    // (230, 1, 6).
    screen.row(40)[0] = screen.row(40)[1] = 0xff0007;
    screen.row(41)[0] = screen.row(41)[1] = 0xcc0104;
    EXPECT_EQ(scaled_row(screen, frame, 184)[0], 0xe60106u);
    // Scale 1.5, 960x720: three rows a picture row, bright, mean, dimmed.
    const FrameScale small = frame_scale(3);
    EXPECT_EQ(small.height, 720);
    EXPECT_EQ(scaled_row(screen, small, 60)[2], 0xff0007u);
    EXPECT_EQ(scaled_row(screen, small, 61)[2], 0xe60106u);
    EXPECT_EQ(scaled_row(screen, small, 62)[2], 0xcc0104u);
    EXPECT_EQ(scaled_row(screen, small, 62)[3], dimmed(1, 0));
}

TEST(ContactSheet, ThumbnailsComeFromTheMiddleRowOfEachScene)
{
    EXPECT_EQ(scene_middle_position(1), 100);     // orders 0-1: row 0 of order 1
    EXPECT_EQ(scene_middle_position(3), 532);     // orders 4-6: row 32 of order 5
    EXPECT_EQ(scene_middle_position(6), 1300);    // orders 11-14
    EXPECT_EQ(scene_middle_position(10), 2400);   // orders 23-24, the last two
}

TEST(Mp4Output, FfmpegIsLookedForOnThePath)
{
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    setenv("PATH", "/nonexistent-folder", 1);
    EXPECT_FALSE(program_on_path("ffmpeg"));
    setenv("PATH", "/usr/bin:/bin", 1);
    EXPECT_TRUE(program_on_path("sh"));
    EXPECT_FALSE(program_on_path("tk-no-such-program"));
    setenv("PATH", path.c_str(), 1);
}

}   // namespace
