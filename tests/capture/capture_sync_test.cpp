// The capture in step with its own sound: every frame shows the position heard at that
// frame's moment of the WAV written beside it. The reference is the music rendered one
// sample per callback, after which the player's position is the one heard at that very
// sample (a tick runs at the first sample of its segment).
#include "capture_test_files.h"
#include "offline_music.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct LoggedFrame {
    std::int64_t frame;
    std::int32_t position;
};

std::vector<LoggedFrame> read_log(const fs::path& path)
{
    std::vector<LoggedFrame> frames;
    std::istringstream log(read_text(path));
    long long frame = 0, time = 0, position = 0, scene = 0;
    while (log >> frame >> time >> position >> scene)
        frames.push_back({frame, static_cast<std::int32_t>(position)});
    return frames;
}

}   // namespace

TEST(CaptureSync, EachFrameShowsThePositionHeardAtItsMomentOfItsOwnWav)
{
    constexpr std::int32_t fps = 60;
    const fs::path folder = scratch_folder("capture-sync");
    const ProgramRun run = run_program(TK_CAPTURE_TOOL
                                       " --fps 60 --from 100 --to 140 --wav out.wav --log out.log "
                                       "--data " TK_SOURCE_DIR "/data",
                                       folder);
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::vector<LoggedFrame> frames = read_log(folder / "out.log");
    ASSERT_GT(frames.size(), 200u);   // 40 rows of 128 ms at 60 frames a second
    const std::vector<std::uint8_t> wav = read_bytes(folder / "out.wav");
    const std::int64_t first_sample = samples_for_frames(frames.front().frame, fps);

    std::vector<std::uint8_t> module(module_buffer_bytes);
    const ModuleRead read = read_module_file(TK_SOURCE_DIR "/data/da_wobble.mod", module.data());
    MusicStream stream;
    ASSERT_EQ(start_music_stream(&stream, 2, module.data(), read.size), nullptr);
    std::size_t next = 0;
    std::int64_t changes_seen = 0;
    for (std::int64_t sample = 0; next < frames.size(); ++sample) {
        std::uint8_t big_endian[2];
        next_music_buffer(&stream, big_endian, 1);
        if (sample >= first_sample) {
            // The WAV holds this very sample at its place (44-byte header, little-endian).
            const std::size_t at = 44 + 2 * static_cast<std::size_t>(sample - first_sample);
            ASSERT_LT(at + 1, wav.size());
            ASSERT_EQ(wav[at], big_endian[1]) << "sample " << sample;
            ASSERT_EQ(wav[at + 1], big_endian[0]) << "sample " << sample;
        }
        if (sample == samples_for_frames(frames[next].frame, fps)) {
            ASSERT_EQ(frames[next].position, music_position()) << "frame " << frames[next].frame;
            changes_seen += next > 0 && frames[next].position != frames[next - 1].position;
            ++next;
        }
    }
    EXPECT_GE(changes_seen, 39);   // every row from 100 to 140 shown
}
