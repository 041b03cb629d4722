// Line drawings read back with the demo's text-picture loader: where the viewBox
// lands on screen, exact segment counts, and the polyline limit.
#include "svg_test_support.h"

#include "pictures/loader_extras.h"

#include <gtest/gtest.h>

namespace {

TextPicture* convert_and_load(const std::string& svg)
{
    const Conversion conversion = convert_svg(svg, OutputKind::line_drawing);
    EXPECT_TRUE(conversion.ok) << format_diagnostics(conversion.diagnostics);
    TextPicture* picture = load_converted_text_picture(conversion.output);
    EXPECT_NE(picture, nullptr);
    return picture;
}

std::vector<std::int16_t> expected(std::initializer_list<int> values)
{
    return std::vector<std::int16_t>(values.begin(), values.end());
}

int segment_total(const TextPicture* picture)
{
    int total = 0;
    for (int i = 0; i < picture->polyline_count; ++i)
        total += std::max(0, picture->point_counts[i] - 1);
    return total;
}

TEST(LineDrawing, TheViewBoxFillsTheScreenPixelCentreToPixelCentre)
{
    // Pixel n's centre is at n + 0.5 in SVG terms and at quarter pixel 4n on screen.
    TextPicture* picture = convert_and_load(svg_document(
        "<path d='M0.5,0.5 L319.5,199.5 M160.5,100.5 L0,0' stroke='#000' fill='none'/>", "0 0 320 200"));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->polyline_count, 2);
    EXPECT_EQ(picture->points[0], expected({0, 0, 1276, 796}));
    // (0, 0) is the corner of pixel 0: quarter pixel -2, kept on screen at 0.
    EXPECT_EQ(picture->points[1], expected({640, 400, 0, 0}));
    free_text_picture(picture);
}

TEST(LineDrawing, OtherShapesAreCentredAtTheLargestFittingScale)
{
    // A square frame scales by 2 and sits 60 pixels in from the left.
    TextPicture* picture = convert_and_load(
        svg_document("<line x1='0.25' y1='0.25' x2='99.75' y2='99.75' stroke='red'/>", "0 0 100 100"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->points[0], expected({4 * 60, 0, 4 * 259, 4 * 199}));
    free_text_picture(picture);
}

TEST(LineDrawing, ClosedShapesReturnToTheirFirstPointAndFillsAreReported)
{
    const Conversion conversion = convert_svg(
        svg_document("<rect x='10' y='10' width='20' height='20' stroke='#000' fill='#fff'/>", "0 0 320 200"),
        OutputKind::line_drawing);
    ASSERT_TRUE(conversion.ok);
    EXPECT_NE(format_diagnostics(conversion.diagnostics).find("fill cannot be shown"), std::string::npos);
    TextPicture* picture = load_converted_text_picture(conversion.output);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->point_counts[0], 5);
    EXPECT_EQ(picture->points[0][0], picture->points[0][8]);
    EXPECT_EQ(picture->points[0][1], picture->points[0][9]);
    free_text_picture(picture);
}

TEST(LineDrawing, SegmentCountIsExactAndSharedByLength)
{
    // Lengths 10, 20 and 30 share 12 segments: one each, then 9 more by length
    // (1.5, 3, 4.5: whole parts 1, 3, 4 and the last one to the earliest half).
    TextPicture* picture = convert_and_load(svg_document(
        "<path stroke='#000' d='M10,10 h10 M10,20 h20 M10,30 h30'/>", "0 0 320 200", "data-segments='12'"));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->polyline_count, 3);
    EXPECT_EQ(picture->point_counts[0], 4);
    EXPECT_EQ(picture->point_counts[1], 5);
    EXPECT_EQ(picture->point_counts[2], 6);
    // The ten-pixel line in three even pieces: 13 1/3 quarter pixels each.
    EXPECT_EQ(picture->points[0][2] - picture->points[0][0], 13);
    EXPECT_EQ(segment_total(picture), 12);
    free_text_picture(picture);
}

TEST(LineDrawing, FewerSegmentsThanDrawnResamplesEachLine)
{
    std::string d = "M0,100";
    for (int i = 1; i <= 40; ++i)
        d += " L" + std::to_string(i * 8) + "," + std::to_string(i % 2 ? 90 : 110);
    TextPicture* picture = convert_and_load(
        svg_document("<path stroke='#000' d='" + d + "'/>", "0 0 320 200", "data-segments='8'"));
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->polyline_count, 1);
    EXPECT_EQ(picture->point_counts[0], 9);
    // Still from the first point to the last.
    EXPECT_EQ(picture->points[0][0], 0);
    EXPECT_EQ(picture->points[0][16], 4 * 320 - 2);   // the right edge, half a pixel past the last centre
    free_text_picture(picture);
}

TEST(LineDrawing, LimitsAreReported)
{
    std::string many;
    for (int i = 0; i < 1001; ++i) {
        many += 'M';
        many += std::to_string(i % 300);
        many += ",10 l1,1 ";
    }
    const Conversion too_many = convert_svg(
        svg_document("<path stroke='#000' d='" + many + "'/>", "0 0 320 200"), OutputKind::line_drawing);
    EXPECT_FALSE(too_many.ok);
    EXPECT_NE(format_diagnostics(too_many.diagnostics).find("at most 1000"), std::string::npos);

    const Conversion too_few = convert_svg(svg_document("<path stroke='#000' d='M0,0 h5 M0,9 h5 M0,20 h5'/>",
                                                        "0 0 320 200", "data-segments='2'"),
                                           OutputKind::line_drawing);
    EXPECT_FALSE(too_few.ok);
    EXPECT_NE(format_diagnostics(too_few.diagnostics).find("fewer than the drawing's 3 lines"),
              std::string::npos);
}

}   // namespace
