// The demo's module as committed: its facts, its byte-for-byte rebuild from the
// sources, and how it sounds when the demo's own player renders it.
#include "common/files.h"
#include "common/program_run.h"
#include "common/scratch_folder.h"
#include "compose_fixtures.h"
#include "notes.h"
#include "sound/music_render.h"

#include <cmath>
#include <cstdlib>
#include <set>

namespace {

const std::filesystem::path module_path = TK_SOURCE_DIR "/data/da_wobble.mod";

struct ModuleFacts {
    std::vector<std::uint8_t> bytes;
    int song_length = 0;
    int patterns = 0;
    std::size_t sample_bytes[32] = {};
};

ModuleFacts read_facts()
{
    ModuleFacts f;
    f.bytes = read_bytes(module_path);
    if (f.bytes.size() < 1084)
        return f;
    f.song_length = f.bytes[950];
    for (int i = 0; i < 128; ++i)
        f.patterns = std::max(f.patterns, f.bytes[952 + i] + 1);
    for (int s = 1; s <= 31; ++s) {
        std::size_t at = 20 + static_cast<std::size_t>(s - 1) * 30 + 22;
        f.sample_bytes[s] = 2u * (f.bytes[at] * 256u + f.bytes[at + 1]);
    }
    return f;
}

const std::uint8_t* cell(const ModuleFacts& f, int pattern, int row, int channel)
{
    return &f.bytes[1084 + static_cast<std::size_t>(pattern) * 1024 +
                    static_cast<std::size_t>(row * 4 + channel) * 4];
}

}   // namespace

TEST(DaWobble, ModuleLayoutPlaysTheWholeScript)
{
    ModuleFacts f = read_facts();
    ASSERT_GE(f.bytes.size(), 1084u);
    EXPECT_LE(f.bytes.size(), 1000000u);   // the demo reads at most this much
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f.bytes[1080]), 4), "M.K.");
    // Order 25 must be reached, not wrapped to the restart position.
    EXPECT_GE(f.song_length, 26);
    EXPECT_LT(f.bytes[951], f.song_length);
    // Every order's pattern is in the file, and the samples follow them exactly.
    std::size_t samples = 0;
    for (int s = 1; s <= 31; ++s)
        samples += f.sample_bytes[s];
    EXPECT_EQ(f.bytes.size(), 1084u + static_cast<std::size_t>(f.patterns) * 1024 + samples);
}

TEST(DaWobble, CellsUseOnlyWhatThePlayerAccepts)
{
    ModuleFacts f = read_facts();
    ASSERT_GE(f.bytes.size(), 1084u + static_cast<std::size_t>(f.patterns) * 1024);
    std::set<int> periods;
    for (int n = compose::first_named_note; n < compose::note_count; ++n)
        periods.insert(compose::note_period(n));
    std::set<int> effects;   // command * 16 + E sub-command
    int speed_settings = 0;
    for (int o = 0; o < f.song_length; ++o) {
        int pattern = f.bytes[952 + o];
        for (int row = 0; row < 64; ++row) {
            for (int ch = 0; ch < 4; ++ch) {
                const std::uint8_t* c = cell(f, pattern, row, ch);
                int period = (c[0] & 0x0F) * 256 + c[1];
                int sample = (c[0] & 0xF0) + (c[2] >> 4);
                int command = c[2] & 0x0F;
                if (period != 0) {
                    EXPECT_TRUE(periods.count(period))
                        << "order " << o << " row " << row << " period " << period;
                }
                if (sample != 0) {
                    EXPECT_GT(f.sample_bytes[sample], 0u) << "order " << o << " row " << row;
                }
                if (command == 0xF) {
                    // Speed 6 from the first row on, never changed: 204 s to order 25.
                    EXPECT_EQ(c[3], 6);
                    EXPECT_TRUE(o == 0 && row == 0);
                    ++speed_settings;
                }
                if (command != 0 || c[3] != 0)
                    effects.insert(command * 16 + (command == 0xE ? c[3] >> 4 : 0));
            }
        }
    }
    EXPECT_EQ(speed_settings, 1);
    // Arpeggio, slides, tone portamento, vibrato, volume slides, sample offset,
    // retrigger, note cut, note delay and pattern break all appear.
    for (int wanted : {0x00, 0x10, 0x20, 0x30, 0x40, 0xA0, 0x90, 0xE9, 0xEC, 0xED, 0xD0})
        EXPECT_TRUE(effects.count(wanted)) << std::hex << "effect " << wanted;
}

TEST(DaWobble, SourcesRebuildTheModuleByteForByte)
{
    const ScratchFolder dir("compose-rebuild");
    const ProgramRun run = run_program(std::string(COMPOSE_TOOL) +
                                       " " TK_SOURCE_DIR "/assets/music/da_wobble.score " TK_SOURCE_DIR
                                       "/assets/music/da_wobble.samples " +
                                       (dir / "rebuilt.mod").string() + " 2>&1");
    ASSERT_EQ(run.status, 0) << run.out;
    std::vector<std::uint8_t> rebuilt = read_bytes(dir / "rebuilt.mod");
    std::vector<std::uint8_t> committed = read_bytes(module_path);
    ASSERT_EQ(rebuilt.size(), committed.size());
    EXPECT_TRUE(rebuilt == committed) << "data/da_wobble.mod differs from what its sources compile to";
}

TEST(DaWobble, ToolReportsAMistakeWithLineAndColumnAndFails)
{
    const ScratchFolder dir("compose-mistake");
    write_text(dir / "bad.score", compose_test::one_pattern({{5, " | ... .. ... | H-2 01 ... | | |"}}));
    write_text(dir / "bad.samples", compose_test::two_samples);
    const ProgramRun run = run_program(std::string(COMPOSE_TOOL) + " " + (dir / "bad.score").string() + " " +
                                       (dir / "bad.samples").string() + " " + (dir / "bad.mod").string());
    EXPECT_NE(run.status, 0);
    const std::string& message = run.errors;
    EXPECT_NE(message.find("bad.score:9:19: error: bad note 'H-2'"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.mod"));
}

TEST(DaWobble, RenderedSongMeetsItsLoudnessAndLengthFigures)
{
    const ScratchFolder dir("compose-render");
    std::vector<std::uint8_t> buffer(module_buffer_bytes);
    const ModuleRead read = read_module_file(module_path.c_str(), buffer.data());
    ASSERT_EQ(read.status, ModuleReadStatus::whole);
    std::FILE* out = std::fopen((dir / "song.wav").c_str(), "w+b");
    ASSERT_NE(out, nullptr);
    RenderRequest request;   // 44100 Hz, 16-bit, until order 25
    RenderResult result;
    bool rendered = render_music(buffer.data(), read.size, out, request, &result);
    std::fclose(out);
    ASSERT_TRUE(rendered);
    EXPECT_EQ(result.end, RenderEnd::order_reached);

    // 25 orders of 64 rows at 6 ticks, 47 ticks a second: 204.26 s.
    std::vector<std::uint8_t> wav = read_bytes(dir / "song.wav");
    ASSERT_GT(wav.size(), 44u);
    std::size_t count = (wav.size() - 44) / 2;
    EXPECT_NEAR(count / 44100.0, 25 * 64 * 6 / 47.0, 0.1);

    std::size_t clipped = 0;
    double energy = 0;
    std::size_t quiet_run = 0;
    std::size_t longest_quiet = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int v = static_cast<std::int16_t>(wav[44 + 2 * i] | (wav[45 + 2 * i] << 8));
        clipped += v >= 32767 || v <= -32768;
        energy += static_cast<double>(v) * v;
        quiet_run = std::abs(v) < 33 ? quiet_run + 1 : 0;   // below -60 dBFS
        longest_quiet = std::max(longest_quiet, quiet_run);
    }
    EXPECT_LT(clipped, count / 1000);
    double rms_db = 20.0 * std::log10(std::sqrt(energy / count) / 32768.0);
    EXPECT_GT(rms_db, -20.0);
    EXPECT_LT(rms_db, -10.0);
    EXPECT_LT(longest_quiet, 44100u);
}
