// Reading documents: styles and their inheritance, nested transforms, colours in every
// form, and the messages for what is wrong or cannot be carried over.
#include "svg_test_support.h"

#include <gtest/gtest.h>

namespace {

SvgDrawing read_ok(const std::string& body, const std::string& root_attributes = "")
{
    Conversion conversion;
    conversion.diagnostics.file_name = "test.svg";
    EXPECT_TRUE(read_svg(svg_document(body, "0 0 100 100", root_attributes), ReadOptions{},
                         conversion.drawing, conversion.diagnostics))
        << format_diagnostics(conversion.diagnostics);
    return conversion.drawing;
}

Diagnostics read_with_messages(const std::string& svg)
{
    Diagnostics diagnostics;
    diagnostics.file_name = "test.svg";
    SvgDrawing drawing;
    read_svg(svg, ReadOptions{}, drawing, diagnostics);
    return diagnostics;
}

TEST(SvgStyles, GroupsPassPaintDownAndTheStyleAttributeWins)
{
    const SvgDrawing drawing = read_ok(
        "<g fill='red' stroke='#0000ff' stroke-width='3'>"
        "  <rect width='10' height='10'/>"
        "  <rect width='10' height='10' fill='#0f0' style='stroke: rgb(100%, 50%, 0%); fill:#123456'/>"
        "  <rect width='10' height='10' fill='none' stroke-width='0'/>"
        "</g>");
    ASSERT_EQ(drawing.shapes.size(), 2u);   // the third paints nothing at all
    const PaintedShape& first = drawing.shapes[0];
    EXPECT_TRUE(first.filled && first.stroked);
    EXPECT_EQ(first.fill, (Colour{255, 0, 0}));
    EXPECT_EQ(first.stroke, (Colour{0, 0, 255}));
    EXPECT_DOUBLE_EQ(first.stroke_width, 3);
    EXPECT_EQ(drawing.shapes[1].fill, (Colour{0x12, 0x34, 0x56}));
    EXPECT_EQ(drawing.shapes[1].stroke, (Colour{255, 128, 0}));
}

TEST(SvgStyles, DefaultsCurrentColourAndHiddenElements)
{
    const SvgDrawing drawing = read_ok(
        "<circle r='5' cx='50' cy='50'/>"
        "<g color='#ff00ff'><rect width='5' height='5' fill='currentColor'/></g>"
        "<rect width='5' height='5' display='none'/>"
        "<g style='display:none'><rect width='5' height='5'/></g>"
        "<line x1='0' y1='0' x2='10' y2='10' stroke='black'/>");
    ASSERT_EQ(drawing.shapes.size(), 3u);
    EXPECT_TRUE(drawing.shapes[0].filled);   // SVG fills black unless told otherwise
    EXPECT_EQ(drawing.shapes[0].fill, (Colour{0, 0, 0}));
    EXPECT_FALSE(drawing.shapes[0].stroked);
    EXPECT_EQ(drawing.shapes[1].fill, (Colour{255, 0, 255}));
    EXPECT_FALSE(drawing.shapes[2].filled);   // a line is never filled
}

TEST(SvgTransforms, NestedGroupsComposeOutermostFirst)
{
    const SvgDrawing drawing = read_ok(
        "<g transform='translate(10 0)'><g transform='scale(2)'>"
        "<rect x='1' y='1' width='1' height='1' transform='rotate(90 1.5 1.5)'/></g></g>");
    ASSERT_EQ(drawing.shapes.size(), 1u);
    const std::vector<Point>& points = drawing.shapes[0].outlines[0].points;
    // The unit square at (1,1) turned about its centre, doubled, then moved right 10.
    ASSERT_EQ(points.size(), 4u);
    double min_x = 1e9, max_x = -1e9, min_y = 1e9, max_y = -1e9;
    for (const Point& p : points) {
        min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
        min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
    }
    EXPECT_NEAR(min_x, 12, 1e-9);
    EXPECT_NEAR(max_x, 14, 1e-9);
    EXPECT_NEAR(min_y, 2, 1e-9);
    EXPECT_NEAR(max_y, 4, 1e-9);
}

TEST(SvgTransforms, StrokeWidthScalesWithTheTransform)
{
    const SvgDrawing drawing =
        read_ok("<g transform='scale(3)'><path d='M0 0 L10 0' stroke='red' stroke-width='2'/></g>");
    EXPECT_DOUBLE_EQ(drawing.shapes[0].stroke_width, 6);
}

TEST(SvgShapes, RoundedRectanglesEllipsesAndPointLists)
{
    const SvgDrawing drawing = read_ok(
        "<rect x='0' y='0' width='40' height='20' rx='5'/>"
        "<ellipse cx='50' cy='50' rx='20' ry='10'/>"
        "<polyline points='0,0 10,0 10,10'/>"
        "<polygon points='0 0, 10 0 10 10'/>");
    ASSERT_EQ(drawing.shapes.size(), 4u);
    for (const Point& p : drawing.shapes[0].outlines[0].points) {
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x, 40);
        // Corners are cut: no point sits exactly on a corner of the box.
        EXPECT_FALSE((p.x == 0 || p.x == 40) && (p.y == 0 || p.y == 20));
    }
    for (const Point& p : drawing.shapes[1].outlines[0].points) {
        const double dx = (p.x - 50) / 20, dy = (p.y - 50) / 10;
        EXPECT_NEAR(dx * dx + dy * dy, 1, 1e-9);
    }
    EXPECT_FALSE(drawing.shapes[2].outlines[0].closed);
    EXPECT_TRUE(drawing.shapes[3].outlines[0].closed);
}

TEST(SvgRoot, HintsAndFrame)
{
    const SvgDrawing drawing =
        read_ok("", "data-palette='#010203 white' data-scale='40' data-segments='123'");
    ASSERT_EQ(drawing.palette.size(), 2u);
    EXPECT_EQ(drawing.palette[0], (Colour{1, 2, 3}));
    EXPECT_EQ(drawing.palette[1], (Colour{255, 255, 255}));
    EXPECT_DOUBLE_EQ(drawing.scale, 40);
    EXPECT_EQ(drawing.segments, 123);
    EXPECT_DOUBLE_EQ(drawing.view_width, 100);
}

TEST(SvgMessages, ErrorsCarryFileAndLine)
{
    const std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'>\n"
        "  <rect width='1' height='1'/>\n"
        "  <path d='M0 0 L'/>\n"
        "  <rect width='x' height='1'/>\n"
        "  <circle r='2' fill='url(#shine)'/>\n"
        "</svg>\n";
    const Diagnostics diagnostics = read_with_messages(svg);
    const std::string text = format_diagnostics(diagnostics);
    EXPECT_EQ(diagnostics.errors.size(), 3u) << text;
    EXPECT_NE(text.find("test.svg:3: error: <path> d: missing or bad numbers"), std::string::npos) << text;
    EXPECT_NE(text.find("test.svg:4: error: <rect> width \"x\""), std::string::npos) << text;
    EXPECT_NE(text.find("test.svg:5: error: <circle> fill: gradients"), std::string::npos) << text;
}

TEST(SvgMessages, BadXmlAndBadRoots)
{
    const std::string unclosed = "<svg viewBox='0 0 1 1'>\n<g>\n</svg>\n";
    EXPECT_NE(format_diagnostics(read_with_messages(unclosed)).find("test.svg:3: error: not well-formed XML"),
              std::string::npos)
        << format_diagnostics(read_with_messages(unclosed));
    EXPECT_NE(format_diagnostics(read_with_messages("<html/>")).find("must be <svg>"), std::string::npos);
    EXPECT_NE(
        format_diagnostics(read_with_messages("<svg><rect width='1' height='1'/></svg>")).find("viewBox"),
        std::string::npos);
    EXPECT_NE(format_diagnostics(read_with_messages("<svg viewBox='0 0 10'/>")).find("four numbers"),
              std::string::npos);
}

TEST(SvgMessages, WhatCannotBeCarriedOverIsNamedNotDropped)
{
    const Diagnostics diagnostics = read_with_messages(
        svg_document("<text x='1' y='1'>hi</text>\n<rect width='1' height='1' opacity='0.5'/>\n"
                     "<image width='1' height='1'/>\n<sodipodi:namedview xmlns:sodipodi='x'/>"));
    const std::string text = format_diagnostics(diagnostics);
    EXPECT_EQ(diagnostics.errors.size(), 0u) << text;
    EXPECT_EQ(diagnostics.warnings.size(), 3u) << text;   // the editor's own element is not drawing
    EXPECT_NE(text.find("<text> cannot be converted"), std::string::npos) << text;
    EXPECT_NE(text.find("<image> cannot be converted"), std::string::npos) << text;
    EXPECT_NE(text.find("opacity 0.5"), std::string::npos) << text;
}

}   // namespace
