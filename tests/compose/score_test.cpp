// The compiler on small scores: what each cell becomes in the module, and how a
// mistake is reported with its line and column.
#include "compose_fixtures.h"

using compose_test::compile;
using compose_test::first_error;
using compose_test::one_pattern;

namespace {

constexpr std::size_t first_cell = 1084;

std::vector<std::uint8_t> cell_bytes(const std::vector<std::uint8_t>& module, int row, int channel)
{
    std::size_t at = first_cell + static_cast<std::size_t>(row * 4 + channel) * 4;
    return {module.begin() + static_cast<long>(at), module.begin() + static_cast<long>(at + 4)};
}

using Bytes = std::vector<std::uint8_t>;

}   // namespace

TEST(ComposeScore, CellsBecomePeriodSampleAndEffectBytes)
{
    auto c = compile(one_pattern({
        {0, " | C-2 17 C20 | ... .. ... | ... .. ... | ... .. ... |"},
        {1, " | --- -- --- | ... .. ... | ... .. ... | F#3 01 E93 |   # F#3 is a sharp, this a comment"},
        {2, " | ... .. ... | B-5 .. 037 | ... .. ... | ... .. ... |"},
        {3, " | ... .. ... | ... .. ... | C-0 01 a0f |             |"},
    }));
    ASSERT_TRUE(c.diags.errors.empty()) << first_error(c);
    // Period 428 = 0x1AC, sample 17 = 0x11 split over the high nibbles of bytes 0 and 2.
    EXPECT_EQ(cell_bytes(c.module, 0, 0), (Bytes{0x11, 0xAC, 0x1C, 0x20}));
    EXPECT_EQ(cell_bytes(c.module, 1, 0), (Bytes{0, 0, 0, 0}));
    // F#3 has period 151 = 0x097.
    EXPECT_EQ(cell_bytes(c.module, 1, 3), (Bytes{0x00, 0x97, 0x1E, 0x93}));
    // B-5, the highest note, has period 28; no sample.
    EXPECT_EQ(cell_bytes(c.module, 2, 1), (Bytes{0x00, 0x1C, 0x00, 0x37}));
    // C-0, the lowest, has period 1712 = 0x6B0; lower-case hex is read too.
    EXPECT_EQ(cell_bytes(c.module, 3, 2), (Bytes{0x06, 0xB0, 0x1A, 0x0F}));
    // A blank cell is empty.
    EXPECT_EQ(cell_bytes(c.module, 3, 3), (Bytes{0, 0, 0, 0}));
}

TEST(ComposeScore, HeaderOrdersAndSampleData)
{
    std::string score = one_pattern({}, "restart 1\n");
    score.replace(score.find("order a\n"), 8, "order a b a\n");
    score += "pattern b\n";
    for (int r = 0; r < 64; ++r) {
        char line[80];
        std::snprintf(line, sizeof line, "%02d | C-3 01 ... | | | |\n", r);
        score += line;
    }
    auto c = compile(score);
    ASSERT_TRUE(c.diags.errors.empty()) << first_error(c);
    const auto& m = c.module;
    EXPECT_EQ(m[0], 't');
    EXPECT_EQ(m[1], 0);
    // Sample 1's header at 20, sample 17's at 20 + 16 * 30.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&m[20]), 4), "drum");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&m[500]), 4), "tone");
    std::size_t drum_bytes = 2u * (m[42] * 256u + m[43]);
    std::size_t tone_bytes = 2u * (m[522] * 256u + m[523]);
    EXPECT_EQ(m[45], 64);   // default volume
    EXPECT_EQ(m[525], 40);
    // A one-shot sample carries the one-word "no loop"; a tone loops to its end.
    EXPECT_EQ(m[46] * 256 + m[47], 0);
    EXPECT_EQ(m[48] * 256 + m[49], 1);
    std::size_t loop_start = 2u * (m[526] * 256u + m[527]);
    std::size_t loop_length = 2u * (m[528] * 256u + m[529]);
    EXPECT_GT(loop_length, 2u);
    EXPECT_EQ(loop_start + loop_length, tone_bytes);
    // Three orders of two patterns, restart 1.
    EXPECT_EQ(m[950], 3);
    EXPECT_EQ(m[951], 1);
    EXPECT_EQ((Bytes{m[952], m[953], m[954], m[955]}), (Bytes{0, 1, 0, 0}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&m[1080]), 4), "M.K.");
    // Pattern b holds C-3 with sample 1 on every row of channel 0.
    EXPECT_EQ(cell_bytes(m, 64 + 5, 0), (Bytes{0x00, 214, 0x10, 0x00}));
    EXPECT_EQ(m.size(), 1084u + 2 * 1024 + drum_bytes + tone_bytes);
}

TEST(ComposeScore, MistakesInCellsNameTheirLineAndColumn)
{
    // Row r of the single pattern is line 4 + r. Columns: row number 1-2, the
    // first cell's note at 6, sample at 10, effect at 13; the second cell's note at 19.
    struct Case {
        std::string row;
        const char* where;
        const char* words;
    } cases[] = {
        {" | ... .. ... | H-2 01 ... | | |", "9:19:", "bad note 'H-2'"},
        {" | C-6 01 ... | | | |", "9:6:", "bad note"},
        {" | C-2 05 ... | | | |", "9:10:", "unknown sample '05'"},
        {" | C-2 32 ... | | | |", "9:10:", "bad sample number"},
        {" | C-2 01 G00 | | | |", "9:13:", "bad effect"},
        {" | C-2 01 F20 | | | |", "9:13:", "speed"},
        {" | C-2 01 F00 | | | |", "9:13:", "stop the song"},
        {" | ... .. D64 | | | |", "9:13:", "pattern break"},
        {" | ... .. D1A | | | |", "9:13:", "pattern break"},
        {" | C-2 01 | | | |", "9:6:", "a cell is a note, a sample and an effect"},
        {" | | | | | C-2 01 ... |", "9:12:", "this one has 5"},
        {" | | |", "9:9:", "this one has 2"},
    };
    for (const Case& k : cases) {
        auto c = compile(one_pattern({{5, k.row}}));
        std::string error = first_error(c);
        EXPECT_EQ(error.rfind(k.where, 0), 0u) << k.row << " gave " << error;
        EXPECT_NE(error.find(k.words), std::string::npos) << k.row << " gave " << error;
        EXPECT_TRUE(c.module.empty());
    }
    auto fine = compile(one_pattern({{5, " | ... .. D63 | | | |"}}));
    EXPECT_TRUE(fine.diags.errors.empty()) << first_error(fine);
}

TEST(ComposeScore, MistakesInRowsAndOrdersNameTheirLineAndColumn)
{
    std::string full = one_pattern({});
    auto too_many = compile(full + "64 | | | | |\n");
    EXPECT_EQ(first_error(too_many).rfind("68:1: row too many", 0), 0u) << first_error(too_many);

    std::string short_pattern = full.substr(0, full.rfind("63 |"));
    auto too_few = compile(short_pattern);
    EXPECT_EQ(first_error(too_few), "3:1: pattern 'a' has only 63 of its 64 rows");

    auto skipped = compile(one_pattern({{7, "8 | | | | |"}}));
    EXPECT_EQ(first_error(skipped).rfind("11:1: expected row number 07", 0), 0u) << first_error(skipped);

    auto unknown = compile(one_pattern({}, "order a\norder   a b\n"));
    EXPECT_EQ(first_error(unknown), "3:11: unknown pattern 'b'");

    auto stray = compile("title t\n00 | | | | |\n");
    EXPECT_EQ(first_error(stray).rfind("2:1: a row must follow", 0), 0u) << first_error(stray);

    auto restart = compile(one_pattern({}, "restart 1\n"));
    EXPECT_NE(first_error(restart).find("restart position lies beyond"), std::string::npos);

    auto twice = compile(one_pattern({}) + "pattern a\n");
    EXPECT_NE(first_error(twice).find("already defined on line 3"), std::string::npos);
}

TEST(ComposeScore, UnplayedPatternsAreLeftOutWithAWarning)
{
    std::string score = one_pattern({}) + "pattern spare\n";
    for (int r = 0; r < 64; ++r) {
        score += r < 10 ? "0" : "";
        score += std::to_string(r);
        score += " | | | | |\n";
    }
    auto c = compile(score);
    ASSERT_TRUE(c.diags.errors.empty()) << first_error(c);
    ASSERT_EQ(c.diags.warnings.size(), 1u);
    EXPECT_EQ(c.diags.warnings[0].line, 68);
    // Only pattern a is stored: the loader counts patterns from the order table.
    std::size_t samples =
        2u * (c.module[42] * 256u + c.module[43]) + 2u * (c.module[522] * 256u + c.module[523]);
    EXPECT_EQ(c.module.size(), 1084u + 1024 + samples);
}

TEST(ComposeScore, SampleOffsetMustStayInsideTheSample)
{
    // The drum is about 0.05 s at 16574 bytes a second: some 830 bytes.
    auto inside = compile(one_pattern({{0, " | C-3 01 903 | | | |"}}));
    EXPECT_TRUE(inside.diags.errors.empty()) << first_error(inside);
    auto beyond = compile(one_pattern({{0, " | C-3 01 904 | | | |"}}));
    EXPECT_NE(first_error(beyond).find("4:1: sample offset 1024 lies beyond sample 1"), std::string::npos)
        << first_error(beyond);
}

TEST(ComposeSettings, MistakesNameTheirLineAndColumn)
{
    struct Case {
        std::string text;
        const char* error;
    } cases[] = {
        {"sample 32 x\n  kind kick\n", "1:8: sample number must be 1 to 31"},
        {"sample 1 x\n  kind drum\n", "2:8: unknown kind 'drum'"},
        {"sample 1 x\n  kind kick\n  sweep 9\n", "3:9: sweep must be a number"},
        {"sample 1 x\n  kind kick\n  wobble 1\n", "3:3: unknown setting 'wobble'"},
        {"sample 1 x\n  kind kick\n  octave 3\n", "3:3: 'octave' does not apply"},
        {"sample 1 x\n  kind kick\n  cutoff 300\n", "3:3: 'cutoff' does not apply"},
        {"sample 1 x\n  kind tone\n  osc buzz 0 1\n", "3:7: unknown wave 'buzz'"},
        {"sample 1 x\n  kind tone\n", "1:1: tone sample 'x' has no oscillator"},
        {"  kind kick\n", "1:3: settings must follow"},
        {"sample 1 x\n  decay 0.1\n", "2:3: 'kind' must come first"},
        {"sample 1 x\n  kind kick\n  note H-2\n", "3:8: bad note 'H-2'"},
        {"sample 1 x\n  kind tone\n  osc saw 0 1\n  loop 0\n  pre 0\n", "1:1: tone sample 'x' has neither"},
    };
    for (const Case& k : cases) {
        Diagnostics diags;
        compose::parse_settings(k.text, "s", diags);
        std::string error = diags.errors.empty()
                                ? "no error"
                                : std::to_string(diags.errors[0].line) + ":" +
                                      std::to_string(diags.errors[0].column) + ": " + diags.errors[0].message;
        EXPECT_EQ(error.rfind(k.error, 0), 0u) << k.text << " gave " << error;
    }
}

TEST(ComposeSettings, SampleTooLongForTheFormatIsRefused)
{
    // Three seconds at B-5 (period 28) would be some 380,000 bytes.
    auto c = compile(compose_test::one_pattern({}), "sample 01 long\n  kind noise\n  note B-5\n  length 3\n");
    EXPECT_NE(first_error(c).find("1:1: sample 'long' would take"), std::string::npos) << first_error(c);
    EXPECT_TRUE(c.module.empty());
}
