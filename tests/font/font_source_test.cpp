// The stroke-definition parser: guides, primitives, and faults reported with their place.
#include "font_source.h"
#include "font_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<FontSource> parse(const std::string& style, const std::string& glyphs, std::string& error)
{
    auto source = std::make_unique<FontSource>();
    Diagnostics report;
    if (!parse_font_style(style, "style.txt", *source, report) ||
        !parse_glyph_strokes(glyphs, "glyphs.txt", *source, report)) {
        error =
            report.errors.empty() ? "no error reported" : format_diagnostic(report.errors.front(), "error");
        return nullptr;
    }
    return source;
}

TEST(FontSource, ReadsStyleGuidesAndEveryPrimitive)
{
    const std::string style =
        "# comment line\n"
        "pen 1.25   # trailing comment\n"
        "outline 2\n"
        "guide base 21.5\n"
        "guide xh base-11\n"   // a guide may be built on an earlier one
        "frame 0 0 2 2\n"
        "frame 2 xh-8.5 -1 0\n"   // frames in any order; rise 2
        "frame 1 -2 2 3\n";
    const std::string glyphs =
        "glyph a\n"
        "line 1 xh 3 base+1 5 6\n"
        "arc 10 base 4 3 45 -90\n"
        "ellipse 12 xh 2 1\n"
        "curve 1 2 3 4 5 6 7 8\n"
        "dot base-20 xh\n" +
        dots_for_every_glyph("a");
    std::string error;
    const auto source = parse(style, glyphs, error);
    ASSERT_TRUE(source) << error;

    EXPECT_EQ(source->style.pen_radius, 1.25);
    EXPECT_EQ(source->style.frames[2].rise, 2.0);
    EXPECT_EQ(source->style.frames[2].shadow_dx, -1);

    const GlyphStrokes& a = source->glyphs[0];
    ASSERT_EQ(a.primitive_count, 5);
    EXPECT_EQ(a.defined_at_line, 1);
    const StrokePrimitive& line = a.primitives[0];
    EXPECT_EQ(line.kind, PrimitiveKind::line);
    ASSERT_EQ(line.value_count, 6);
    EXPECT_EQ(line.values[1], 10.5);
    EXPECT_EQ(line.values[3], 22.5);
    EXPECT_EQ(a.primitives[1].values[5], -90.0);
    const StrokePrimitive& ellipse = a.primitives[2];
    EXPECT_EQ(ellipse.kind, PrimitiveKind::arc);
    ASSERT_EQ(ellipse.value_count, 6);
    EXPECT_EQ(ellipse.values[4], 0.0);
    EXPECT_EQ(ellipse.values[5], 360.0);
    EXPECT_EQ(a.primitives[3].values[7], 8.0);
    const StrokePrimitive& dot = a.primitives[4];
    EXPECT_EQ(dot.kind, PrimitiveKind::dot);
    EXPECT_EQ(dot.values[0], 1.5);
    EXPECT_EQ(dot.values[1], 10.5);
}

TEST(FontSource, GlyphNumbersFollowTheCharacterSet)
{
    EXPECT_EQ(glyph_number('a'), 0);
    EXPECT_EQ(glyph_number('1'), 26);
    EXPECT_EQ(glyph_number('0'), 35);
    EXPECT_EQ(glyph_number('!'), 36);
    EXPECT_EQ(glyph_number('\''), 37);
    EXPECT_EQ(glyph_number('A'), -1);
    EXPECT_EQ(glyph_number(' '), -1);
    EXPECT_EQ(glyph_number('\0'), -1);
}

struct FaultCase {
    const char* style;    // nullptr: the minimal style
    const char* glyphs;   // placed before the dot glyphs of every other character
    const char* expected;
    const char* skip = "";
};

TEST(FontSource, FaultsNameTheFileAndLine)
{
    const FaultCase cases[] = {
        {"pen 1.5\noutline 1\nshade 3\n", "", "style.txt:3: error: unknown command 'shade'"},
        {"pen 1.5 2\n", "", "style.txt:1: error: 'pen' takes 1 value, not 2"},
        {"pen 0\n", "", "style.txt:1: error: the pen radius must lie in (0, 8]"},
        {"outline 1.5\n", "", "style.txt:1: error: '1.5' is not a whole number from 0 to 4"},
        {"frame 3 0 2 2\n", "", "style.txt:1: error: '3' is not a whole number from 0 to 2"},
        {"guide 2x 4\n", "", "style.txt:1: error: bad guide name '2x'"},
        {"guide a 1\nguide a 2\n", "", "style.txt:2: error: guide 'a' defined twice"},
        {"pen 1.5\noutline 1\nframe 0 0 2 2\nframe 1 0 2 2\n", "", "style.txt: error: no 'frame 2' line"},
        {nullptr, "line 1 2 3 4\n", "glyphs.txt:1: error: strokes before the first 'glyph' line"},
        {nullptr, "\n\nglyph A\n", "glyphs.txt:3: error: 'A' is not a character of the font"},
        {nullptr, "glyph ab\n", "glyphs.txt:1: error: 'ab' is not a character of the font"},
        {nullptr, "glyph a\nline 1 2 3\n", "glyphs.txt:2: error: 'line' takes 2 to 16 points"},
        {nullptr, "glyph a\narc 1 2 3 4 5\n", "glyphs.txt:2: error: 'arc' takes 6 values, not 5"},
        {nullptr, "glyph a\ndot 1.5x 2\n", "glyphs.txt:2: error: '1.5x' is not a number"},
        {nullptr, "glyph a\ndot top 2\n", "glyphs.txt:2: error: unknown guide 'top'"},
        {nullptr, "glyph a\ndot base+x 2\n", "glyphs.txt:2: error: bad offset in 'base+x'"},
        {nullptr, "glyph a\nspiral 1 2\n", "glyphs.txt:2: error: unknown command 'spiral'"},
        {nullptr, "glyph a\nglyph b\n", "glyphs.txt:1: error: glyph 'a' has no strokes", "ab"},
        // the dots that follow define "a" again
        {nullptr, "glyph a\ndot 1 1\n", "glyphs.txt:3: error: glyph 'a' already defined at line 1"},
        {nullptr, "", "glyphs.txt: error: glyph 'm' is not defined", "m"},
        {nullptr, "", "glyphs.txt: error: glyph ''' is not defined", "'"},
    };
    for (const FaultCase& fault : cases) {
        std::string error;
        const auto source = parse(fault.style ? fault.style : minimal_style,
                                  fault.glyphs + dots_for_every_glyph(fault.skip), error);
        EXPECT_FALSE(source) << fault.expected;
        EXPECT_EQ(error.rfind(fault.expected, 0), 0u)
            << "expected: " << fault.expected << "\n     got: " << error;
    }
}

TEST(FontSource, LimitsAreReportedNotOverrun)
{
    std::string many_strokes = "glyph a\n";
    for (int i = 0; i <= max_primitives; ++i) {
        many_strokes += "dot 5 5\n";
    }
    std::string long_line = "glyph a\nline";
    for (int i = 0; i <= max_line_points; ++i) {
        long_line += " 1 2";
    }
    std::string error;
    EXPECT_FALSE(parse(minimal_style, many_strokes + dots_for_every_glyph("a"), error));
    EXPECT_EQ(error, "glyphs.txt:34: error: too many strokes in one glyph (at most 32)");
    EXPECT_FALSE(parse(minimal_style, long_line + "\n" + dots_for_every_glyph("a"), error));
    EXPECT_EQ(error, "glyphs.txt:2: error: too many values (at most 32)");
}

TEST(FontSource, LoadsBothFilesOfADirectory)
{
    const ScratchFolder directory("font");
    const auto source = std::make_unique<FontSource>();
    Diagnostics report;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load_font_source("font", directory.path.string(), *source, report));
    std::string error = testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("style.txt: No such file or directory"), std::string::npos) << error;

    write_text(directory / "style.txt", minimal_style);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(load_font_source("font", directory.path.string(), *source, report));
    error = testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("glyphs.txt: No such file or directory"), std::string::npos) << error;

    write_text(directory / "glyphs.txt", dots_for_every_glyph());
    EXPECT_TRUE(load_font_source("font", directory.path.string(), *source, report))
        << format_diagnostics(report);
    EXPECT_EQ(source->glyphs[37].primitive_count, 1);
}

}   // namespace
