// The whole demo captured headless by tinkettles-capture on the demo's own data (run
// in the folder that holds data/): deterministic to the byte, every scene in order at
// its positions, the end at position 2500, the music the playback's own stream.
#include "capture_test_files.h"
#include "sound/music_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>

namespace {

constexpr int capture_fps = 2;
constexpr std::size_t y4m_frame_bytes = 6 + 640 * 480 * 3 / 2;   // "FRAME\n" and the planes

struct LogLine {
    long long frame;
    int demo_time, position, scene;
    bool operator==(const LogLine&) const = default;
};

struct CaptureRun {
    int status = -1;
    std::uint64_t y4m_hash = 0;
    std::uint64_t y4m_bytes = 0;
    std::string y4m_header;
    std::vector<LogLine> log;
    std::vector<std::uint8_t> wav;
    std::string errors;
};

std::vector<LogLine> read_log(const fs::path& path)
{
    std::vector<LogLine> lines;
    std::istringstream in(read_text(path));
    LogLine line{};
    while (in >> line.frame >> line.demo_time >> line.position >> line.scene)
        lines.push_back(line);
    return lines;
}

// Runs the tool with its video stream on standard output, hashed as it comes (FNV-1a),
// so that no multi-megabyte file is kept.
CaptureRun capture(const fs::path& folder, const std::string& extra)
{
    const std::string command = std::string(TK_CAPTURE_TOOL) + " --fps " + std::to_string(capture_fps) +
                                " --y4m - --wav " + (folder / "music.wav").string() + " --log " +
                                (folder / "frames.log").string() + " " + extra + " 2>" +
                                (folder / "errors.txt").string();
    CaptureRun run;
    std::FILE* out = popen(command.c_str(), "r");
    if (!out)
        return run;
    run.y4m_hash = 1469598103934665603ull;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, out)) > 0) {
        for (std::size_t i = 0; i < got; ++i) {
            if (run.y4m_bytes + i < 64 && run.y4m_header.find('\n') == std::string::npos)
                run.y4m_header += chunk[i];
            run.y4m_hash = (run.y4m_hash ^ static_cast<std::uint8_t>(chunk[i])) * 1099511628211ull;
        }
        run.y4m_bytes += got;
    }
    run.status = exit_status(pclose(out));
    run.log = read_log(folder / "frames.log");
    run.wav = read_bytes(folder / "music.wav");
    run.errors = read_text(folder / "errors.txt");
    return run;
}

// The script's scene for a music position, by order: 0-1, 2-3, 4-6, 7-8, 9-10, 11-14,
// 15-17, 18-20, 21-22, 23 on.
int scripted_scene(int position)
{
    const int first_order[] = {0, 2, 4, 7, 9, 11, 15, 18, 21, 23};
    int scene = 1;
    for (int i = 0; i < 10; ++i)
        if (position >= first_order[i] * 100)
            scene = i + 1;
    return scene;
}

class WholeDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        first_folder = new fs::path(scratch_folder("first"));
        second_folder = new fs::path(scratch_folder("second"));
        first = new CaptureRun(capture(*first_folder, "--png-dir " + (*first_folder / "png").string() +
                                                          " --contact-sheet " +
                                                          (*first_folder / "sheet.png").string()));
        second = new CaptureRun(capture(*second_folder, ""));
        part_folder = new fs::path(scratch_folder("part"));
        part =
            new CaptureRun(capture(*part_folder, "--scene 3 --png-dir " + (*part_folder / "png").string()));
    }
    static void TearDownTestSuite()
    {
        delete first;
        delete second;
        delete part;
        delete part_folder;
        delete first_folder;
        delete second_folder;
    }
    void SetUp() override
    {
        ASSERT_EQ(first->status, 0) << first->errors;
        ASSERT_FALSE(first->log.empty());
    }
    static inline CaptureRun* first = nullptr;
    static inline CaptureRun* second = nullptr;
    static inline CaptureRun* part = nullptr;
    static inline fs::path* part_folder = nullptr;
    static inline fs::path* first_folder = nullptr;
    static inline fs::path* second_folder = nullptr;
};

TEST_F(WholeDemo, TwoCapturesAreAlikeToTheByte)
{
    ASSERT_EQ(second->status, 0) << second->errors;
    EXPECT_EQ(first->y4m_bytes, second->y4m_bytes);
    EXPECT_EQ(first->y4m_hash, second->y4m_hash);
    EXPECT_TRUE(first->wav == second->wav);
    EXPECT_TRUE(first->log == second->log);
}

TEST_F(WholeDemo, VideoStreamHoldsEveryLoggedFrame)
{
    EXPECT_EQ(first->y4m_header, "YUV4MPEG2 W640 H480 F2:1 Ip A1:1 C420jpeg\n");
    EXPECT_EQ(first->y4m_bytes, first->y4m_header.size() + first->log.size() * y4m_frame_bytes);
    std::size_t pngs = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(*first_folder / "png"))
        ++pngs;
    EXPECT_EQ(pngs, first->log.size());
}

TEST_F(WholeDemo, EverySceneAppearsInOrderAtItsPositions)
{
    std::set<int> seen;
    for (std::size_t i = 0; i < first->log.size(); ++i) {
        const LogLine& line = first->log[i];
        ASSERT_EQ(line.frame, static_cast<long long>(i));
        EXPECT_EQ(line.demo_time, static_cast<int>(i * 1000 / capture_fps));
        EXPECT_EQ(line.scene, scripted_scene(line.position)) << "frame " << i;
        if (i > 0) {
            EXPECT_GE(line.position, first->log[i - 1].position) << "frame " << i;
            EXPECT_GE(line.scene, first->log[i - 1].scene) << "frame " << i;
        }
        seen.insert(line.scene);
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(WholeDemo, CaptureEndsWithTheFirstFrameAtPosition2500)
{
    const std::vector<LogLine>& log = first->log;
    EXPECT_GE(log.back().position, 2500);
    for (std::size_t i = 0; i + 1 < log.size(); ++i)
        ASSERT_LT(log[i].position, 2500) << "frame " << i;
}

TEST_F(WholeDemo, MusicIsThePlaybacksOwnStreamAsLongAsTheFrames)
{
    const std::vector<std::uint8_t>& wav = first->wav;
    ASSERT_GE(wav.size(), 44u);
    const auto u32 = [&](std::size_t at) {
        return wav[at] | wav[at + 1] << 8 | wav[at + 2] << 16 | static_cast<std::uint32_t>(wav[at + 3]) << 24;
    };
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(u32(24), 44100u);
    EXPECT_EQ(wav[34], 16);
    EXPECT_EQ(wav[22], 1);   // mono
    const std::uint32_t samples = static_cast<std::uint32_t>(first->log.size() * 44100 / capture_fps);
    ASSERT_EQ(u32(40), 2 * samples);
    ASSERT_EQ(wav.size(), 44 + 2 * static_cast<std::size_t>(samples));

    // The same module played by the sound system's own renderer, which feeds the
    // audio callback as SDL does.
    static std::uint8_t module[module_buffer_bytes];
    const ModuleRead read = read_module_file("data/da_wobble.mod", module);
    ASSERT_EQ(read.status, ModuleReadStatus::whole);
    std::FILE* reference = std::tmpfile();
    ASSERT_NE(reference, nullptr);
    RenderRequest request;
    request.sample_limit = samples;
    ASSERT_TRUE(render_music(module, read.size, reference, request, nullptr));
    std::vector<std::uint8_t> expected(wav.size());
    std::rewind(reference);
    ASSERT_EQ(std::fread(expected.data(), 1, expected.size(), reference), expected.size());
    std::fclose(reference);
    EXPECT_TRUE(std::equal(wav.begin() + 44, wav.end(), expected.begin() + 44));
}

// Scene 3 draws its line drawing stroke by stroke into the frame it keeps, so its
// frames are only right when every frame before the part was drawn too.
TEST_F(WholeDemo, APartHoldsExactlyTheWholeCapturesFramesAndMusic)
{
    ASSERT_EQ(part->status, 0) << part->errors;
    std::vector<LogLine> expected;
    for (const LogLine& line : first->log)
        if (line.position >= 400 && line.position < 700)
            expected.push_back(line);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(part->log, expected);

    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(*part_folder / "png"))
        ++files;
    EXPECT_EQ(files, expected.size());
    for (const LogLine& line : expected) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06lld.png", line.frame);
        ASSERT_EQ(read_bytes(*part_folder / "png" / name), read_bytes(*first_folder / "png" / name)) << name;
    }

    EXPECT_EQ(part->y4m_header, first->y4m_header);
    EXPECT_EQ(part->y4m_bytes, part->y4m_header.size() + expected.size() * y4m_frame_bytes);

    // The music from the part's first frame to the end of its last, as the whole
    // capture has it there.
    const auto sample = [](long long frame) { return static_cast<std::size_t>(frame * 44100 / capture_fps); };
    const std::size_t begin = 44 + 2 * sample(expected.front().frame);
    const std::size_t end = 44 + 2 * sample(expected.back().frame + 1);
    ASSERT_LE(end, first->wav.size());
    ASSERT_EQ(part->wav.size(), 44 + end - begin);
    EXPECT_TRUE(
        std::equal(part->wav.begin() + 44, part->wav.end(), first->wav.begin() + static_cast<long>(begin)));
}

TEST_F(WholeDemo, FramesShowTheEnlargedPictureWithScanLines)
{
    // The last frame of scene 1, when the shrinking picture has left room around it.
    std::size_t last = 0;
    while (last + 1 < first->log.size() && first->log[last + 1].scene == 1)
        ++last;
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06zu.png", last);
    const PngImage frame = read_png(*first_folder / "png" / name);
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    for (int x = 0; x < 640; ++x) {
        ASSERT_TRUE(same_colour(frame.at(x, 0), 0, 0, 0));
        ASSERT_TRUE(same_colour(frame.at(x, 39), 0, 0, 0));
        ASSERT_TRUE(same_colour(frame.at(x, 440), 0, 0, 0));
        ASSERT_TRUE(same_colour(frame.at(x, 479), 0, 0, 0));
    }
    // Scene 1's background, index 127: bright on even lines, four fifths below.
    int background = 0;
    for (int y = 40; y < 440; y += 2)
        for (int x = 0; x < 640; ++x)
            if (same_colour(frame.at(x, y), 255, 150, 150)) {
                ++background;
                ASSERT_TRUE(same_colour(frame.at(x, y + 1), 204, 120, 120)) << x << ", " << y + 1;
            }
    EXPECT_GT(background, 100);
}

TEST_F(WholeDemo, ContactSheetShowsTenLabelledScenes)
{
    const PngImage sheet = read_png(*first_folder / "sheet.png");
    ASSERT_EQ(sheet.width, 1600);
    ASSERT_EQ(sheet.height, 560);
    for (int scene = 0; scene < 10; ++scene) {
        const int left = (scene % 5) * 320, top = (scene / 5) * 280;
        int label_ink = 0, picture = 0;
        for (int y = 0; y < 280; ++y)
            for (int x = 0; x < 320; ++x) {
                const std::uint8_t* p = sheet.at(left + x, top + y);
                if (y >= 240 && same_colour(p, 255, 255, 255))
                    ++label_ink;
                if (y >= 20 && y < 220 && (p[0] | p[1] | p[2]))
                    ++picture;
            }
        EXPECT_GT(label_ink, 50) << "scene " << scene + 1;
        EXPECT_GT(picture, 320 * 100) << "scene " << scene + 1;
    }
    // Scene 10's background halved, in the last cell: the mean of (255, 220, 80) twice
    // and (204, 176, 64) twice.
    bool found = false;
    for (int y = 280 + 20; y < 280 + 220 && !found; ++y)
        for (int x = 1280; x < 1600 && !found; ++x)
            found = same_colour(sheet.at(x, y), 230, 198, 72);
    EXPECT_TRUE(found);
}

}   // namespace
