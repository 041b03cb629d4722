// Pictures written by the converter, read back with the demo's own loader: frame,
// colours and their limit, stroke widths, holes, and the 500-point element limit.
#include "svg_test_support.h"

#include "pictures/loader_extras.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

namespace {

// The shapes after the invisible frame line every picture starts with.
std::vector<const Shape*> drawn_shapes(const Picture* picture)
{
    std::vector<const Shape*> shapes;
    for (const Shape* shape = picture->shapes; shape; shape = shape->next)
        if (shape != picture->shapes)
            shapes.push_back(shape);
    return shapes;
}

Picture* convert_and_load(const std::string& svg)
{
    const Conversion conversion = convert_svg(svg);
    EXPECT_TRUE(conversion.ok) << format_diagnostics(conversion.diagnostics);
    Picture* picture = load_converted_picture(conversion.output);
    EXPECT_NE(picture, nullptr) << conversion.output;
    return picture;
}

std::string distinct_colour_squares(int count)
{
    std::string body;
    for (int i = 0; i < count; ++i)
        body += "<rect x='" + std::to_string(i % 10 * 10) + "' y='" + std::to_string(i / 10 * 10) +
                "' width='5' height='5' fill='rgb(" + std::to_string(i) + ",0,0)'/>\n";
    return body;
}

TEST(CgmPicture, TheViewBoxIsTheFrameWhateverTheShapesCover)
{
    // A small square in a corner of a 200 x 100 frame: the frame line, not the square,
    // decides centre and scale, so the square keeps its place.
    Picture* picture = convert_and_load(
        svg_document("<rect x='0' y='0' width='20' height='10' fill='#ff0000'/>", "0 0 200 100"));
    ASSERT_NE(picture, nullptr);
    const Shape* frame = picture->shapes;
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->line_width, 0);   // drawn as nothing
    EXPECT_EQ(frame->flags, 1);
    const std::vector<std::int32_t> frame_points{-65536, 32768, 65536, -32768};
    EXPECT_EQ(frame->points, frame_points);
    const auto shapes = drawn_shapes(picture);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0]->flags, 2);
    // (0,0) is the top-left corner: x -1, y +0.5 (y up); (20, 10) is at -0.8, +0.4,
    // truncated towards zero by the loader. Outlines are written counter-clockwise.
    const std::vector<std::int32_t> square{-65536, 26214,  -52428, 26214,  -52428,
                                           32768,  -65536, 32768,  -65536, 26214};
    EXPECT_EQ(shapes[0]->points, square);
    EXPECT_EQ(shapes[0]->triangle_count, 2);
    free_picture(picture);
}

TEST(CgmPicture, PaletteStartsWithTheHintsThenColoursInOrderOfUse)
{
    Picture* picture =
        convert_and_load(svg_document("<rect width='5' height='5' fill='#00ff00' stroke='#0000ff'/>"
                                      "<rect width='5' height='5' fill='#102030'/>"
                                      "<rect width='5' height='5' fill='#00ff00'/>",
                                      "0 0 100 100", "data-palette='#102030 #ffffff'"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->colour_count, 4);
    EXPECT_EQ(picture->palette[1], 0x102030u);
    EXPECT_EQ(picture->palette[2], 0xffffffu);
    EXPECT_EQ(picture->palette[3], 0x00ff00u);
    EXPECT_EQ(picture->palette[4], 0x0000ffu);
    const auto shapes = drawn_shapes(picture);
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0]->fill_colour, 3);
    EXPECT_EQ(shapes[0]->line_colour, 4);
    EXPECT_EQ(shapes[0]->flags, 3);   // fill and outline in one polygon
    EXPECT_EQ(shapes[1]->fill_colour, 1);
    EXPECT_EQ(shapes[2]->fill_colour, 3);
    free_picture(picture);
}

TEST(CgmPicture, NinetyNineColoursFitAndTheHundredthIsAnError)
{
    Picture* picture = convert_and_load(svg_document(distinct_colour_squares(99)));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->colour_count, 99);
    EXPECT_EQ(picture->palette[99], 98u << 16);
    free_picture(picture);

    const Conversion too_many = convert_svg(svg_document(distinct_colour_squares(100)));
    EXPECT_FALSE(too_many.ok);
    // The hundredth square is on the document's hundred-and-first line.
    EXPECT_NE(format_diagnostics(too_many.diagnostics)
                  .find("test.svg:101: error: <rect> uses a colour past the 99"),
              std::string::npos)
        << format_diagnostics(too_many.diagnostics);
}

TEST(CgmPicture, StrokeWidthsBecomeWholePixelsAtThePicturesScale)
{
    // A 180-unit frame at scale 90 spans 180 pixels: one pixel per unit.
    Picture* picture = convert_and_load(svg_document(
        "<path d='M10 10 L50 50' stroke='#000' stroke-width='3' fill='none'/>"
        "<path d='M10 10 L50 50' stroke='#000' stroke-width='0.2' fill='none'/>"
        "<path d='M10 10 L50 50' stroke='#000' stroke-width='3' fill='none' transform='scale(2)'/>",
        "0 0 180 180", "data-scale='90'"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = drawn_shapes(picture);
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0]->line_width, 3);
    EXPECT_EQ(shapes[1]->line_width, 1);   // thinner strokes still show
    EXPECT_EQ(shapes[2]->line_width, 6);
    for (const Shape* shape : shapes)
        EXPECT_EQ(shape->flags, 1);
    free_picture(picture);
}

TEST(CgmPicture, RingsBecomeOnePolygonWithAHoleTheLoaderFills)
{
    Picture* picture = convert_and_load(svg_document(
        "<path fill-rule='evenodd' fill='#ff0000' d='M10,50 A40,40 0 1,1 90,50 A40,40 0 1,1 10,50 Z "
        "M30,50 A20,20 0 1,1 70,50 A20,20 0 1,1 30,50 Z'/>"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = drawn_shapes(picture);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_GT(shapes[0]->triangle_count, 0);
    std::array<std::uint8_t, 320 * 200> frame{};
    picture_scale = 90;
    picture_offset_x = picture_offset_y = 0;
    draw_picture(picture, frame.data(), screen_transform);
    // 100 units span 180 pixels centred on (160, 100): the hole's middle stays empty,
    // the ring between radius 36 and 72 pixels is filled all round.
    EXPECT_EQ(frame[100 * 320 + 160], 0);
    EXPECT_EQ(frame[100 * 320 + 160 + 54], 1);
    EXPECT_EQ(frame[100 * 320 + 160 - 54], 1);
    EXPECT_EQ(frame[(100 - 54) * 320 + 160], 1);
    EXPECT_EQ(frame[(100 + 54) * 320 + 160], 1);
    EXPECT_EQ(frame[100 * 320 + 160 + 25], 0);
    free_picture(picture);
}

TEST(CgmPicture, NonzeroRuleHolesNeedTheOppositeDirection)
{
    // Both circles run the same way: under nonzero the inner one is no hole.
    const char* same_way =
        "M10,50 A40,40 0 1,1 90,50 A40,40 0 1,1 10,50 Z "
        "M30,50 A20,20 0 1,1 70,50 A20,20 0 1,1 30,50 Z";
    const char* opposite =
        "M10,50 A40,40 0 1,1 90,50 A40,40 0 1,1 10,50 Z "
        "M30,50 A20,20 0 1,0 70,50 A20,20 0 1,0 30,50 Z";
    for (const char* d : {same_way, opposite}) {
        Picture* picture = convert_and_load(svg_document(std::string("<path fill='#f00' d='") + d + "'/>"));
        ASSERT_NE(picture, nullptr);
        std::array<std::uint8_t, 320 * 200> frame{};
        picture_scale = 90;
        picture_offset_x = picture_offset_y = 0;
        draw_picture(picture, frame.data(), screen_transform);
        EXPECT_EQ(frame[100 * 320 + 160], d == same_way ? 1 : 0) << d;
        free_picture(picture);
    }
}

TEST(CgmPicture, LongStrokesAreSplitIntoElementsOfAtMost500Points)
{
    std::string d = "M0,50";
    for (int i = 1; i < 1200; ++i)
        d += " L" + std::to_string(i * 100.0 / 1200) + "," + std::to_string(50 + 20 * std::sin(i * 0.1));
    Picture* picture = convert_and_load(svg_document("<path fill='none' stroke='#000' d='" + d + "'/>"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = drawn_shapes(picture);
    ASSERT_EQ(shapes.size(), 3u);   // 1199 segments, 499 to an element
    int segments = 0;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_LE(shapes[i]->point_count, 500);
        segments += shapes[i]->point_count - 1;
        if (i > 0) {   // each piece starts where the last one ended
            const auto& previous = shapes[i - 1]->points;
            EXPECT_EQ(shapes[i]->points[0], previous[previous.size() - 2]);
            EXPECT_EQ(shapes[i]->points[1], previous[previous.size() - 1]);
        }
    }
    EXPECT_EQ(segments, 1199);
    free_picture(picture);
}

TEST(CgmPicture, FilledShapesPastTheLimitAreThinnedWithAWarning)
{
    std::string points;
    for (int i = 0; i < 1000; ++i) {
        const double angle = i * 2 * std::numbers::pi / 1000, radius = 40 + 5 * std::sin(angle * 40);
        points += std::to_string(50 + radius * std::cos(angle)) + "," +
                  std::to_string(50 + radius * std::sin(angle)) + " ";
    }
    const Conversion conversion = convert_svg(svg_document("<polygon fill='#0f0' points='" + points + "'/>"));
    ASSERT_TRUE(conversion.ok) << format_diagnostics(conversion.diagnostics);
    EXPECT_NE(format_diagnostics(conversion.diagnostics).find("thinned to"), std::string::npos);
    Picture* picture = load_converted_picture(conversion.output);
    ASSERT_NE(picture, nullptr);
    const auto shapes = drawn_shapes(picture);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_LE(shapes[0]->point_count, 500);
    EXPECT_GT(shapes[0]->point_count, 200);   // the wiggles keep many points
    EXPECT_GT(shapes[0]->triangle_count, 0);
    free_picture(picture);
}

TEST(CgmPicture, ShapesOutsideTheFrameAndCrossedOutlinesAreReported)
{
    const Conversion outside = convert_svg(svg_document("<rect x='90' y='90' width='20' height='5'/>"));
    EXPECT_FALSE(outside.ok);
    EXPECT_NE(format_diagnostics(outside.diagnostics).find("outside the viewBox"), std::string::npos);

    const Conversion crossed = convert_svg(svg_document("<polygon points='10,10 90,90 90,10 10,90 50,95'/>"));
    EXPECT_NE(format_diagnostics(crossed.diagnostics).find("not filled exactly"), std::string::npos)
        << format_diagnostics(crossed.diagnostics);
}

}   // namespace
