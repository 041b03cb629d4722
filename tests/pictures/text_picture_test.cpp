#include "picture_test_support.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <set>
#include <string>
#include <vector>

namespace {

using Polyline = std::vector<std::pair<int, int>>;
using PixelSet = std::set<std::pair<int, int>>;

// The file values that store as the given quarter-pixel points (x * 2, (y + 104) * 2).
std::string text_file(const std::vector<Polyline>& polylines, bool terminated = true)
{
    std::string text;
    for (const Polyline& line : polylines) {
        text += std::to_string(line.size());
        for (const auto& [x, y] : line) {
            text += ' ';
            text += std::to_string(2 * x);
            text += ' ';
            text += std::to_string(2 * (y + 104));
        }
        text += "\n";
    }
    return terminated ? text + "-1\n" : text;
}

TextPicture* load_text(const std::string& name, const std::string& content)
{
    return load_text_picture(write_test_file(name, content).c_str());
}

PixelSet pixels_of(const GuardedFrame& frame)
{
    PixelSet result;
    for (int k : frame.changed())
        result.insert({k % 320, k / 320});
    return result;
}

PixelSet block(int x0, int y0, int x1, int y1)
{
    PixelSet result;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            result.insert({x, y});
    return result;
}

PixelSet joined(PixelSet a, const PixelSet& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

PixelSet drawn(const TextPicture* picture, std::int32_t first, std::int32_t last)
{
    GuardedFrame frame;
    draw_text_picture(frame.pixels(), picture, first, last, 1);
    EXPECT_TRUE(frame.guards_intact());
    return pixels_of(frame);
}

TEST(TextPicture, StoredValuesAreHalvedAndLifted)
{
    TextPicture* picture = load_text("values.txt", "1 2560 1807\n1 -3 -3\n2 0 0 5 7 -1");
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->polyline_count, 3);
    EXPECT_EQ(picture->points[0], (std::vector<std::int16_t>{1280, 799}));
    EXPECT_EQ(picture->points[1], (std::vector<std::int16_t>{-2, -106}));
    EXPECT_EQ(picture->points[2], (std::vector<std::int16_t>{0, -104, 2, -101}));
    EXPECT_EQ(picture->point_counts[0], 1);
    EXPECT_EQ(picture->point_counts[2], 2);
    free_text_picture(picture);
}

TEST(TextPicture, ValuesBeyondSixteenBitsWrap)
{
    TextPicture* picture = load_text("wrap.txt", "2 70000 70000 0 -65536 -1");
    ASSERT_NE(picture, nullptr);
    // 35000 wraps to -30536; the y then loses 104 more; -32768 - 104 wraps to 32664.
    EXPECT_EQ(picture->points[0], (std::vector<std::int16_t>{-30536, -30640, 0, 32664}));
    free_text_picture(picture);
}

TEST(TextPicture, TerminatorOnlyGivesAnEmptyPicture)
{
    TextPicture* picture = load_text("empty.txt", "-1\n");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->polyline_count, 0);
    EXPECT_TRUE(drawn(picture, 0, 1000000).empty());
    free_text_picture(picture);
    EXPECT_EQ(load_text_picture("/nonexistent/dir/groovster.txt"), nullptr);
}

TEST(TextPicture, SegmentsAreNumberedAcrossPolylines)
{
    // Segments 0-1 in the first polyline, 2-4 in the second; the one-point polyline
    // between them has none and takes no number.
    TextPicture* picture =
        load_text("numbering.txt", text_file({{{40, 40}, {120, 40}, {120, 120}},
                                              {{300, 300}},
                                              {{200, 40}, {280, 40}, {280, 120}, {200, 120}}}));
    ASSERT_NE(picture, nullptr);
    const PixelSet seg0 = block(10, 9, 30, 10);
    const PixelSet seg1 = block(29, 10, 30, 30);
    const PixelSet seg2 = block(50, 9, 70, 10);
    EXPECT_EQ(drawn(picture, 0, 0), seg0);
    EXPECT_EQ(drawn(picture, 1, 2), joined(seg1, seg2));
    EXPECT_EQ(drawn(picture, 2, 2), seg2);
    EXPECT_TRUE(drawn(picture, 3, 2).empty());
    EXPECT_TRUE(drawn(picture, 5, 100).empty());
    EXPECT_EQ(drawn(picture, 0, 4), drawn(picture, -50, 1000));
    free_text_picture(picture);
}

TEST(TextPicture, FirstSegmentSkipsPolylinesTooShortToHaveOne)
{
    TextPicture* picture = load_text("short_first.txt", text_file({{}, {{8, 8}}, {{40, 40}, {80, 40}}}));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(drawn(picture, 0, 0), block(10, 9, 20, 10));
    free_text_picture(picture);
}

TEST(TextLine, ZeroLengthSegmentSpreadsAlongTheRow)
{
    GuardedFrame two, one, none;
    const std::int32_t dot[4] = {42, 40, 42, 40};
    draw_text_line(two.pixels(), dot, 2, 1);
    draw_text_line(one.pixels(), dot, 1, 1);
    draw_text_line(none.pixels(), dot, 0, 1);
    EXPECT_EQ(pixels_of(two), (PixelSet{{10, 10}, {11, 10}}));
    // Even width 1 starts half a pixel back (x 40, column 10), where a picture
    // outline's dot would sit on column 11.
    EXPECT_EQ(pixels_of(one), (PixelSet{{10, 10}}));
    EXPECT_TRUE(pixels_of(none).empty());

    TextPicture* picture = load_text("dot.txt", text_file({{{40, 40}, {40, 40}}}));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(drawn(picture, 0, 0), (PixelSet{{9, 10}, {10, 10}}));
    free_text_picture(picture);
}

TEST(TextPicture, FilesCutShortKeepWhatWasRead)
{
    const struct {
        const char* name;
        std::string content;
        std::int32_t points;   // in the one polyline read
    } cases[] = {
        {"no_end.txt", text_file({{{0, 0}, {40, 0}}}, false), 2},
        {"mid_polyline.txt", "3 0 208 80 208 160", 2},   // the half point is dropped
        {"garbage.txt", "2 0 208 x 1 2 -1", 1},          // a word that is no number ends it
        {"huge_count.txt", "2000000000 0 208 80 208", 2},
    };
    for (const auto& c : cases) {
        TextPicture* picture = load_text(c.name, c.content);
        ASSERT_NE(picture, nullptr) << c.name;
        EXPECT_EQ(picture->polyline_count, 1) << c.name;
        EXPECT_EQ(picture->point_counts[0], c.points) << c.name;
        EXPECT_EQ(picture->points[0].size(), 2u * static_cast<std::size_t>(c.points)) << c.name;
        free_text_picture(picture);
    }
}

TEST(TextPicture, PolylinesPastTheCapacityAreIgnored)
{
    std::string content;
    for (int k = 0; k < 1005; ++k)
        content += "2 0 208 " + std::to_string(8 * (k % 100)) + " 1000\n";
    TextPicture* picture = load_text("many.txt", content + "-1\n");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->polyline_count, 1000);
    EXPECT_EQ(picture->point_counts[999], 2);
    EXPECT_FALSE(drawn(picture, 0, 2000).empty());
    free_text_picture(picture);
}

TEST(TextPicture, DrawingFarOutsideStaysInTheFrame)
{
    TextPicture* picture = load_text("far.txt",
                                     "3 -65536 -65536 65534 65534 0 70000\n"
                                     "2 -65536 400 65534 400 -1");
    ASSERT_NE(picture, nullptr);
    GuardedFrame frame;
    draw_text_picture(frame.pixels(), picture, 0, 10, 1);
    EXPECT_TRUE(frame.guards_intact());
    EXPECT_FALSE(frame.changed().empty());
    free_text_picture(picture);
}

}   // namespace
