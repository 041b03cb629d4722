// Strokes to pixels: pen geometry, the shade ring and shadow, frame movement, and
// glyphs that would not fit their cell.
#include "font_raster.h"
#include "font_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Drawn {
    bool ok;
    std::string error;
    GlyphCell cell;

    std::uint8_t at(int column, int row) const { return cell.pixels[row * cell_width + column]; }
    int count(std::uint8_t value) const
    {
        int n = 0;
        for (const std::uint8_t pixel : cell.pixels) {
            n += pixel == value;
        }
        return n;
    }
};

// Draws the strokes as glyph "a" with the given pen, outline and frame.
Drawn draw(const std::string& strokes, double pen, int outline, FrameStyle frame)
{
    auto source = std::make_unique<FontSource>();
    Drawn drawn{false, "", {}};
    drawn.cell.pixels.fill(77);
    Diagnostics report;
    if (!parse_font_style(minimal_style, "style.txt", *source, report) ||
        !parse_glyph_strokes("glyph a\n" + strokes + dots_for_every_glyph("a"), "glyphs.txt", *source,
                             report)) {
        ADD_FAILURE() << format_diagnostics(report);
        return drawn;
    }
    source->style.pen_radius = pen;
    source->style.outline = outline;
    const auto path = std::make_unique<PenPath>();
    drawn.ok = flatten_glyph(source->glyphs[0], frame, *path, drawn.error) &&
               rasterize_glyph(*path, source->style, frame, drawn.cell, drawn.error);
    return drawn;
}

constexpr FrameStyle still{0.0, 0, 0};

bool inside(int column, int row, int left, int top, int right, int bottom)
{
    return column >= left && column <= right && row >= top && row <= bottom;
}

// A horizontal stroke on row centre 10.5 from x 5.5 to 15.5 with a pen of radius 1.5:
// rows 9-11 are within reach, and on them the round ends reach columns 4-16
// (centres 4.5 and 16.5 lie 1 from the ends, 1.5 along row 10; on rows 9 and 11
// the reach along the row is sqrt(1.5^2 - 1) = 1.118).
TEST(FontRaster, StrokeOutlineAndShadowCoverTheDerivedPixels)
{
    const Drawn drawn = draw("line 5.5 10.5 15.5 10.5\n", 1.5, 1, {0.0, 2, 2});
    ASSERT_TRUE(drawn.ok) << drawn.error;
    for (int row = 0; row < cell_height; ++row) {
        for (int column = 0; column < cell_width; ++column) {
            std::uint8_t expected = transparent_value;
            if (inside(column, row, 4, 9, 16, 11)) {
                expected = ink_value;
            } else if (inside(column, row, 6, 11, 18, 13)) {
                expected = shadow_value;   // the ink moved 2 right and 2 down
            } else if (inside(column, row, 3, 8, 17, 12)) {
                expected = outline_value;
            }
            EXPECT_EQ(drawn.at(column, row), expected) << "column " << column << " row " << row;
        }
    }
}

TEST(FontRaster, PartialArcSweepsFromStartToEndAngle)
{
    // 0 degrees points right and 90 down: the sweep from 0 to 90 covers the lower
    // right quarter only, and sweeping backwards from 0 to -90 the upper right one.
    const Drawn lower = draw("arc 14 16 8 8 0 90\n", 1.0, 0, still);
    const Drawn upper = draw("arc 14 16 8 8 0 -90\n", 1.0, 0, still);
    ASSERT_TRUE(lower.ok && upper.ok);
    EXPECT_EQ(lower.at(19, 21), ink_value);   // 45 degrees
    EXPECT_NE(lower.at(8, 21), ink_value);    // 135 degrees
    EXPECT_NE(lower.at(19, 10), ink_value);   // -45 degrees
    EXPECT_EQ(upper.at(19, 10), ink_value);
    EXPECT_NE(upper.at(19, 21), ink_value);
}

TEST(FontRaster, StraightCurveMatchesTheLine)
{
    // Control points a third and two thirds along the line.
    const Drawn line = draw("line 4.5 6.5 22.5 24.5\n", 1.5, 1, {0.0, 2, 2});
    const Drawn curve = draw("curve 4.5 6.5 10.5 12.5 16.5 18.5 22.5 24.5\n", 1.5, 1, {0.0, 2, 2});
    ASSERT_TRUE(line.ok && curve.ok);
    EXPECT_EQ(line.cell.pixels, curve.cell.pixels);
}

TEST(FontRaster, RiseMovesTheWholeGlyph)
{
    const std::string strokes = "line 6.5 8.5 20.5 20.5\narc 12 14 4 5 30 250\n";
    const Drawn still_glyph = draw(strokes, 1.5, 1, {0.0, 2, 2});
    const Drawn lowered = draw(strokes, 1.5, 1, {3.0, 2, 2});
    const Drawn raised = draw(strokes, 1.5, 1, {-2.0, 2, 2});
    ASSERT_TRUE(still_glyph.ok && lowered.ok && raised.ok);
    for (int row = 0; row < cell_height; ++row) {
        for (int column = 0; column < cell_width; ++column) {
            const std::uint8_t original = still_glyph.at(column, row);
            if (row + 3 < cell_height) {
                EXPECT_EQ(lowered.at(column, row + 3), original);
            }
            if (row >= 2) {
                EXPECT_EQ(raised.at(column, row - 2), original);
            }
        }
    }
}

TEST(FontRaster, GlyphsThatLeaveTheCellAreRefused)
{
    const Drawn outside = draw("line 10 10 10 33\n", 1.5, 1, still);
    EXPECT_FALSE(outside.ok);
    EXPECT_EQ(outside.error, "stroke point (10.000000, 33.000000) lies outside the 28 x 32 cell");

    // The points fit, but the pen reaches row -1.
    const Drawn ink_out = draw("line 10 0.5 20 0.5\n", 1.5, 0, still);
    EXPECT_FALSE(ink_out.ok);
    EXPECT_NE(ink_out.error.find("ink at pixel"), std::string::npos) << ink_out.error;

    // The ink fits (rows 28-30) but its shadow falls to row 32.
    const Drawn shadow_out = draw("line 10 29.5 20 29.5\n", 1.5, 0, {0.0, 0, 2});
    EXPECT_FALSE(shadow_out.ok);
    EXPECT_NE(shadow_out.error.find("shade at pixel"), std::string::npos) << shadow_out.error;

    // Raised by a frame, a glyph at the top edge leaves the cell.
    EXPECT_TRUE(draw("dot 10 3.5\n", 1.5, 1, still).ok);
    EXPECT_FALSE(draw("dot 10 3.5\n", 1.5, 1, {-2.0, 0, 0}).ok);
}

TEST(FontRaster, TooManySegmentsAreReported)
{
    std::string strokes;
    for (int i = 0; i < 9; ++i) {
        strokes += "ellipse 14 16 13 13\n";   // about 160 segments each
    }
    EXPECT_TRUE(draw(strokes, 1.0, 0, still).ok);
    strokes.clear();
    for (int i = 0; i < max_primitives; ++i) {
        strokes += "ellipse 14 16 13 13\n";
    }
    const Drawn drawn = draw(strokes, 1.0, 0, still);
    EXPECT_FALSE(drawn.ok);
    EXPECT_EQ(drawn.error, "more than 2048 pen segments");
}

}   // namespace
