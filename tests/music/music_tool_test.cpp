#include "common/files.h"
#include "common/program_run.h"
#include "common/scratch_folder.h"
#include "sound/module_writer.h"
#include "sound/music_stream.h"
#include "sound/sound.h"
#include "sound/wav_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

class MusicTool : public ::testing::Test {
protected:
    const ScratchFolder scratch{"music"};
    const fs::path dir = scratch.path;

    fs::path write_module(const TestModule& module, const char* name = "song.mod")
    {
        write_bytes(dir / name, module.bytes());
        return dir / name;
    }

    ProgramRun run(const std::string& arguments) { return run_program(TK_MUSIC_TOOL " " + arguments); }
};

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint32_t u16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

TestModule two_order_song()
{
    TestModule module;
    module.song_length = 2;
    module.orders[1] = 1;
    module.sample(1) = {make_wave(128, [](int i) { return (i * 9) % 200 - 100; }), 0, 64, 0, 128};
    module.sample(2) = {make_wave(1000, [](int i) { return (i * 3) % 250 - 125; }), 0, 48, 0, 0};
    for (int pattern = 0; pattern < 2; ++pattern)
        for (int row = 0; row < 64; row += 4) {
            module.cell(pattern, row, 0) = {period_of_note(24 + row / 4 + pattern), 1, 0, 0x37};
            module.cell(pattern, row + 2, 1) = {period_of_note(36), 2, 0xA, 0x01};
        }
    return module;
}

// What the demo's callback produces for the module, in 2048-sample buffers,
// samples of it as WAV stores them (16-bit little-endian or 8-bit unsigned).
std::vector<std::uint8_t> offline(const TestModule& module, int mode, std::size_t samples)
{
    std::vector<std::uint8_t> bytes = module.bytes();
    MusicStream stream;
    EXPECT_EQ(start_music_stream(&stream, mode, bytes.data(), bytes.size()), nullptr);
    const std::size_t width = mode == 2 ? 2 : 1;
    std::vector<std::uint8_t> out((samples + 2048) * width);
    for (std::size_t at = 0; at < samples; at += 2048)
        next_music_buffer(&stream, out.data() + at * width, 2048);
    out.resize(samples * width);
    to_wav_order(out.data(), static_cast<std::int64_t>(samples),
                 WavFormat{stream.rate, 8 * stream.bytes_per_sample});
    return out;
}

// Samples rendered when stopping at the buffer in which the tick of sample t runs.
std::size_t whole_buffers_through(std::size_t t)
{
    return (t + 2047) / 2048 * 2048;
}

void expect_wav(const std::vector<std::uint8_t>& wav, std::uint32_t rate, std::uint32_t bits,
                std::size_t samples)
{
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(u32(wav, 4), wav.size() - 8);
    EXPECT_EQ(u16(wav, 20), 1u);
    EXPECT_EQ(u16(wav, 22), 1u);
    EXPECT_EQ(u32(wav, 24), rate);
    EXPECT_EQ(u32(wav, 28), rate * bits / 8);
    EXPECT_EQ(u16(wav, 32), bits / 8);
    EXPECT_EQ(u16(wav, 34), bits);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(u32(wav, 40), samples * bits / 8);
    EXPECT_EQ(wav.size(), 44 + samples * bits / 8);
}

}   // namespace

TEST_F(MusicTool, BadArgumentsPrintUsageAndExit2)
{
    const fs::path song = write_module(two_order_song());
    const std::string m = song.string();
    const std::string o = (dir / "out.wav").string();
    for (const std::string& arguments :
         {std::string(""), m, "--mode 3 " + m + " " + o, "--mode " + m + " " + o,
          "--seconds -1 " + m + " " + o, "--seconds x " + m + " " + o,
          "--seconds 1 --orders 2 " + m + " " + o, "--orders 0 " + m + " " + o, "--orders 1.5 " + m + " " + o,
          "--loud " + m + " " + o, m + " " + o + " extra", m + " " + o + " --mode"}) {
        const ProgramRun result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.errors.find("usage: tinkettles-music"), std::string::npos) << arguments;
    }
    EXPECT_FALSE(fs::exists(dir / "out.wav"));
}

TEST_F(MusicTool, RejectedOrMissingModulesExit1WithTheReason)
{
    TestModule module = two_order_song();
    module.signature = "NOPE";
    const fs::path song = write_module(module);
    ProgramRun result = run(song.string() + " " + (dir / "out.wav").string());
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find(": not a module this player knows: no signature such as M.K."),
              std::string::npos)
        << result.errors;
    // The loader's own text is for programs, not for the user.
    EXPECT_EQ(result.errors.find("pt_takemod"), std::string::npos) << result.errors;
    EXPECT_FALSE(fs::exists(dir / "out.wav"));

    result = run((dir / "missing.mod").string() + " " + (dir / "out.wav").string());
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find("missing.mod"), std::string::npos) << result.errors;

    result = run(write_module(two_order_song()).string() + " " + (dir / "no/such/dir/out.wav").string());
    EXPECT_EQ(result.status, 1);
}

TEST_F(MusicTool, AnOversizeModuleIsCutAndAnUnseekableOutputRefused)
{
    // Only the first 1,000,000 bytes are read, as the demo reads them; the padding
    // after the samples changes nothing that is played.
    const TestModule module = two_order_song();
    std::vector<std::uint8_t> bytes = module.bytes();
    bytes.resize(1000001, 0x55);
    const fs::path big = dir / "big.mod";
    write_bytes(big, bytes);
    ProgramRun result = run("--seconds 1 " + big.string() + " " + (dir / "big.wav").string());
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_NE(result.errors.find("tinkettles-music: " + big.string() +
                                 " is longer than 1000000 bytes; only those are used\n"),
              std::string::npos)
        << result.errors;
    const auto wav = read_bytes(dir / "big.wav");
    expect_wav(wav, 44100, 16, 44100);
    EXPECT_TRUE(std::equal(wav.begin() + 44, wav.end(), offline(module, 2, 44100).begin()));

    // A pipe takes the samples but cannot go back to write the sizes into the header.
    const fs::path pipe = dir / "out.pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const fs::path song = write_module(module);
    const fs::path errors = dir / "pipe-errors.txt";
    const std::string command = "timeout 60 cat " + pipe.string() + " >/dev/null & " + TK_MUSIC_TOOL +
                                " --seconds 1 " + song.string() + " " + pipe.string() + " 2>" +
                                errors.string() + "; status=$?; wait; exit $status";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(read_text(errors).find(
                  "tinkettles-music: cannot finish the WAV file (is it seekable?): Illegal seek"),
              std::string::npos);
    // The pipe is the user's, not a half-written file of ours: it stays.
    EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(MusicTool, SecondsInBothModesMatchTheCallbackByteForByte)
{
    const TestModule module = two_order_song();
    const fs::path song = write_module(module);
    const ProgramRun sixteen = run("--seconds 2.5 " + song.string() + " " + (dir / "a.wav").string());
    ASSERT_EQ(sixteen.status, 0) << sixteen.errors;
    EXPECT_NE(sixteen.errors.find("rendered"), std::string::npos);
    const auto wav16 = read_bytes(dir / "a.wav");
    expect_wav(wav16, 44100, 16, 110250);
    EXPECT_TRUE(std::equal(wav16.begin() + 44, wav16.end(), offline(module, 2, 110250).begin()));

    const ProgramRun eight = run(song.string() + " " + (dir / "b.wav").string() + " --seconds 1 --mode 1");
    ASSERT_EQ(eight.status, 0) << eight.errors;
    const auto wav8 = read_bytes(dir / "b.wav");
    expect_wav(wav8, 22050, 8, 22050);
    EXPECT_TRUE(std::equal(wav8.begin() + 44, wav8.end(), offline(module, 1, 22050).begin()));
}

TEST_F(MusicTool, DefaultStopsWhenTheSongWraps)
{
    const TestModule module = two_order_song();
    const fs::path song = write_module(module);
    const ProgramRun result = run(song.string() + " " + (dir / "c.wav").string());
    ASSERT_EQ(result.status, 0) << result.errors;
    // Two orders of 64 rows at speed 6, 938 samples a tick.
    const std::size_t samples = whole_buffers_through(2 * 64 * 6 * 938);
    const auto wav = read_bytes(dir / "c.wav");
    expect_wav(wav, 44100, 16, samples);
    EXPECT_TRUE(std::equal(wav.begin() + 44, wav.end(), offline(module, 2, samples).begin()));
    EXPECT_NE(result.errors.find("wrapped"), std::string::npos) << result.errors;
}

TEST_F(MusicTool, OrdersStopAtTheOrderOrAtAJumpBack)
{
    TestModule module = two_order_song();
    const fs::path song = write_module(module);
    ProgramRun result = run("--orders 1 --mode 1 " + song.string() + " " + (dir / "d.wav").string());
    ASSERT_EQ(result.status, 0) << result.errors;
    expect_wav(read_bytes(dir / "d.wav"), 22050, 8, whole_buffers_through(64 * 6 * 469));

    // A song that loops by jumping back from order 2 to order 1 never passes its end;
    // the jump on order 2's first row ends the rendering.
    module.song_length = 4;
    module.orders[2] = 2;
    module.cell(2, 0, 3) = {0, 0, 0xB, 0x01};
    const fs::path looping = write_module(module, "loop.mod");
    result = run(looping.string() + " " + (dir / "e.wav").string());
    ASSERT_EQ(result.status, 0) << result.errors;
    expect_wav(read_bytes(dir / "e.wav"), 44100, 16, whole_buffers_through(2 * 64 * 6 * 938));
}

TEST_F(MusicTool, SoxReadsTheFiles)
{
    if (run_program("command -v soxi").status != 0)
        GTEST_SKIP() << "soxi is not installed";
    const fs::path song = write_module(two_order_song());
    ASSERT_EQ(run("--seconds 1 " + song.string() + " " + (dir / "f.wav").string()).status, 0);
    ASSERT_EQ(run("--mode 1 --seconds 1 " + song.string() + " " + (dir / "g.wav").string()).status, 0);
    const ProgramRun f = run_program("soxi -s " + (dir / "f.wav").string());
    const ProgramRun g = run_program("soxi -s " + (dir / "g.wav").string());
    ASSERT_EQ(f.status, 0);
    ASSERT_EQ(g.status, 0);
    const long sixteen = std::atol(f.out.c_str());
    const long eight = std::atol(g.out.c_str());
    EXPECT_EQ(sixteen, 44100);
    EXPECT_EQ(eight, 22050);
}
