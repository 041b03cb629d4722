// The committed font image: its layout, its pixel classes, frames that animate, glyphs
// that line up and do not spoil their neighbours in a caption, and the tool that
// rebuilds it byte for byte.
#include "font_image.h"
#include "font_test_support.h"

#include "common/program_run.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int glyphs = 38;
constexpr int frames = 3;
constexpr int used_columns = 28;
constexpr int rows = 32;
constexpr int advance = 22;
constexpr const char* characters = "abcdefghijklmnopqrstuvwxyz1234567890!'";

const std::string font_path = std::string(TK_SOURCE_DIR) + "/data/fontti.raw";

// Where pixel (c, r) of glyph g in frame f lies in the raw image, written out from the
// layout: frames of 40960 bytes, cell rows of 10240, image rows of 320, cells of 32.
std::size_t offset(int g, int f, int c, int r)
{
    return static_cast<std::size_t>(f * 40960 + (g / 10) * 10240 + r * 320 + (g % 10) * 32 + c);
}

class CommittedFont : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bytes = read_text(font_path); }

    static std::uint8_t pixel(int g, int f, int c, int r)
    {
        return static_cast<std::uint8_t>(bytes[offset(g, f, c, r)]);
    }
    static bool ink(int g, int f, int c, int r) { return pixel(g, f, c, r) == 0; }

    // First and last row holding ink.
    static std::pair<int, int> ink_rows(int g, int f)
    {
        int top = rows, bottom = -1;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < used_columns; ++c) {
                if (ink(g, f, c, r)) {
                    top = std::min(top, r);
                    bottom = std::max(bottom, r);
                }
            }
        }
        return {top, bottom};
    }

    static std::string bytes;
};

std::string CommittedFont::bytes;

TEST_F(CommittedFont, IsOneFullImageWithUnusedPlacesTransparent)
{
    ASSERT_EQ(bytes.size(), 122880u);
    int checked = 0;
    for (int f = 0; f < frames; ++f) {
        for (int cell = 0; cell < 40; ++cell) {
            for (int r = 0; r < rows; ++r) {
                // Columns 28-31 of every cell, and all of cells 38 and 39.
                for (int c = cell < glyphs ? used_columns : 0; c < 32; ++c) {
                    EXPECT_EQ(static_cast<std::uint8_t>(bytes[offset(cell, f, c, r)]), 255)
                        << "frame " << f << " cell " << cell << " column " << c << " row " << r;
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, frames * (glyphs * 4 * 32 + 2 * 32 * 32));
}

// Ink is wrapped in shade everywhere, so a caption reads on any background: no ink
// pixel touches a transparent one or the edge of its cell.
TEST_F(CommittedFont, EveryGlyphHasInkRingedByShade)
{
    ASSERT_EQ(bytes.size(), 122880u);
    for (int g = 0; g < glyphs; ++g) {
        for (int f = 0; f < frames; ++f) {
            int ink_count = 0, shade_count = 0, clear_count = 0;
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < used_columns; ++c) {
                    const std::uint8_t value = pixel(g, f, c, r);
                    ink_count += value == 0;
                    clear_count += value == 255;
                    shade_count += value != 0 && value != 255;
                    if (value != 0) {
                        continue;
                    }
                    ASSERT_TRUE(c > 0 && c < used_columns - 1 && r > 0 && r < rows - 1)
                        << characters[g] << " frame " << f << " ink on the cell edge";
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            EXPECT_NE(pixel(g, f, c + dx, r + dy), 255)
                                << characters[g] << " frame " << f << " at " << c << ", " << r;
                        }
                    }
                }
            }
            // The apostrophe is the smallest glyph: about 20 pixels of ink.
            EXPECT_GE(ink_count, 15) << characters[g];
            EXPECT_GE(shade_count, ink_count / 2) << characters[g];
            EXPECT_GE(clear_count, used_columns * rows / 3) << characters[g];
        }
    }
}

TEST_F(CommittedFont, FramesDifferAndGlyphsDiffer)
{
    ASSERT_EQ(bytes.size(), 122880u);
    auto same = [](int g1, int f1, int g2, int f2) {
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < used_columns; ++c) {
                if (pixel(g1, f1, c, r) != pixel(g2, f2, c, r)) {
                    return false;
                }
            }
        }
        return true;
    };
    for (int g = 0; g < glyphs; ++g) {
        EXPECT_FALSE(same(g, 0, g, 1)) << characters[g];
        EXPECT_FALSE(same(g, 1, g, 2)) << characters[g];
        EXPECT_FALSE(same(g, 0, g, 2)) << characters[g];
        for (int other = g + 1; other < glyphs; ++other) {
            EXPECT_FALSE(same(g, 0, other, 0)) << characters[g] << " and " << characters[other];
        }
    }
}

// In a caption the next character is drawn 22 pixels on, over the last 6 columns of
// this one, in the following frame. Nothing of it may cover or shade this one's ink.
TEST_F(CommittedFont, NextCharacterLeavesTheInkAlone)
{
    ASSERT_EQ(bytes.size(), 122880u);
    for (int f = 0; f < frames; ++f) {
        const int next_frame = (f + 1) % frames;
        for (int g = 0; g < glyphs; ++g) {
            for (int next = 0; next < glyphs; ++next) {
                for (int r = 0; r < rows; ++r) {
                    for (int c = advance; c < used_columns; ++c) {
                        if (ink(g, f, c, r)) {
                            EXPECT_EQ(pixel(next, next_frame, c - advance, r), 255)
                                << characters[g] << characters[next] << " frame " << f;
                        }
                    }
                }
            }
        }
    }
}

// Letters of one kind start and end on the same rows, so a caption keeps one line.
TEST_F(CommittedFont, LettersShareBaselineAndHeights)
{
    ASSERT_EQ(bytes.size(), 122880u);
    auto expect_rows = [](const char* group, bool top, int f) {
        const int first = glyph_number(group[0]);
        const auto reference = ink_rows(first, f);
        for (const char* ch = group; *ch; ++ch) {
            const auto found = ink_rows(glyph_number(*ch), f);
            EXPECT_EQ(top ? found.first : found.second, top ? reference.first : reference.second)
                << "'" << *ch << "' against '" << group[0] << "' frame " << f << (top ? " top" : " bottom");
        }
        return top ? reference.first : reference.second;
    };
    for (int f = 0; f < frames; ++f) {
        const int baseline = expect_rows("abcdefhiklmnorstuvwxz1234567890!", false, f);
        const int x_height = expect_rows("acemnorsuvwxz", true, f);
        const int ascender = expect_rows("bdfhkl1234567890!'", true, f);
        const int descender = expect_rows("gjpqy", false, f);
        EXPECT_GE(baseline - x_height, 10);
        EXPECT_GE(x_height - ascender, 4);
        EXPECT_GE(descender - baseline, 4);
    }
}

TEST(FontTool, RebuildsTheCommittedFontByteForByte)
{
    const ScratchFolder scratch("font");
    const std::string raw = (scratch / "fontti.raw").string();
    const std::string png = (scratch / "font.png").string();
    const ProgramRun run =
        run_program(shell_quoted(FONT_TOOL) + " --preview " + shell_quoted(png) + " " +
                    shell_quoted(std::string(TK_SOURCE_DIR) + "/assets/font") + " " + shell_quoted(raw));
    ASSERT_EQ(run.status, 0) << run.errors;
    const std::string rebuilt = read_text(raw);
    ASSERT_EQ(rebuilt.size(), 122880u);
    EXPECT_TRUE(rebuilt == read_text(font_path))
        << "data/fontti.raw is not what assets/font/ gives: run tinkettles-font again";
    EXPECT_EQ(read_text(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
}

TEST(FontTool, FailuresExitNonZeroWithAMessage)
{
    const ScratchFolder scratch("font");
    const std::string tool = shell_quoted(FONT_TOOL);

    ProgramRun run = run_program(tool);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("usage: tinkettles-font"), std::string::npos);
    EXPECT_EQ(run_program(tool + " --colour a b").status, 2);

    write_text(scratch / "style.txt", minimal_style);
    const std::string out = (scratch / "out.raw").string();
    write_text(scratch / "glyphs.txt", "glyph a\ndot 27.5 5\n" + dots_for_every_glyph("a"));
    run = run_program(tool + " " + shell_quoted(scratch.path) + " " + shell_quoted(out));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("glyph 'a' (line 1), frame 0: shade at pixel (28, 2)"), std::string::npos)
        << run.errors;
    EXPECT_FALSE(std::filesystem::exists(out));

    write_text(scratch / "glyphs.txt", dots_for_every_glyph());
    run = run_program(tool + " " + shell_quoted(scratch.path) + " " +
                      shell_quoted(scratch / "no/such/dir/out.raw"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("cannot create"), std::string::npos) << run.errors;
    EXPECT_EQ(run_program(tool + " " + shell_quoted(scratch.path) + " " + shell_quoted(out)).status, 0);
    EXPECT_EQ(read_text(out).size(), 122880u);
}

}   // namespace
