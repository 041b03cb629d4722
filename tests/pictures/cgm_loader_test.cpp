#include "picture_test_support.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <string>
#include <vector>

namespace {

using Values = std::vector<std::int32_t>;

// A picture file with a black/white/red/green/blue first colour table.
std::string cgm(const std::string& body)
{
    return "BEGMF \"test\";\nmfversion 1;\nBEGPIC \"p\";\n"
           "colrtable 1 0 0 0 255 255 255 255 0 0 0 255 0 0 0 255;\n" +
           body + "\nENDPIC;\nENDMF;\n";
}

Picture* load_text(const std::string& name, const std::string& content)
{
    return load_picture(write_test_file(name, content).c_str());
}

std::vector<const Shape*> shapes_of(const Picture* picture)
{
    std::vector<const Shape*> result;
    for (const Shape* s = picture->shapes; s; s = s->next)
        result.push_back(s);
    return result;
}

TEST(CgmLoader, RectangleBecomesClosedSquareOfTwoTriangles)
{
    Picture* picture = load_text("rect.cgm", cgm("rect (10,20) (30,40);"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = shapes_of(picture);
    ASSERT_EQ(shapes.size(), 1u);
    const Shape& rect = *shapes[0];
    EXPECT_EQ(rect.flags, 3);
    EXPECT_EQ(rect.line_width, 1);
    // (10,20) (10,40) (30,40) (30,20) (10,20) around the centre (20,30), half side 10.
    const std::int32_t u = 65536;
    EXPECT_EQ(rect.point_count, 5);
    EXPECT_EQ(rect.points, (Values{-u, -u, -u, u, u, u, u, -u, -u, -u}));
    // The outline runs clockwise, so the cutter reverses the four corners first.
    EXPECT_EQ(rect.triangle_count, 2);
    EXPECT_EQ(rect.triangles, (Values{u, -u, u, u, -u, u, -u, u, -u, -u, u, -u}));
    free_picture(picture);
}

TEST(CgmLoader, PolygonPointCountsAndRepeatedFirstPoint)
{
    Picture* picture = load_text("poly.cgm", cgm("polygon (0,0) (100,0) (0,100);\n"
                                                 "polygon (0,0) (100,0) (0,100) (0,0);\n"
                                                 "polygon (0,0) (100,0) (0,0);\n"
                                                 "polygon (50,50);"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = shapes_of(picture);
    ASSERT_EQ(shapes.size(), 4u);
    EXPECT_EQ(shapes[0]->triangle_count, 1);
    EXPECT_EQ(shapes[1]->point_count, 4);
    EXPECT_EQ(shapes[1]->triangle_count, 1);   // cut without the repeat
    EXPECT_EQ(shapes[2]->triangle_count, 0);   // two points once the repeat is dropped
    EXPECT_EQ(shapes[3]->triangle_count, 0);
    for (const Shape* s : shapes)
        EXPECT_EQ(s->triangles.size(), 6u * static_cast<std::size_t>(s->triangle_count));
    free_picture(picture);
}

TEST(CgmLoader, LineWidthStylesAndVisibility)
{
    Picture* picture =
        load_text("styles.cgm", cgm("linewidth 14;\npolygon (0,0) (100,0) (0,100);\nline (0,0) (100,100);\n"
                                    "edgewidth 30;\npolygon (0,0) (100,0) (0,100);\n"
                                    "intstyle HOLLOW;\npolygon (0,0) (100,0) (0,100);\n"
                                    "intstyle EMPTY;\npolygon (0,0) (100,0) (0,100);\n"
                                    "intstyle HOLLOW;\npolygon (0,0) (100,0) (0,100);\n"
                                    "intstyle SOLID;\nedgevis OFF;\npolygon (0,0) (100,0) (0,100);\n"
                                    "edgevis on;\npolygon (0,0) (100,0) (0,100);\n"
                                    "edgevis ON;\nline (0,0) (100,100);\npolygon (0,0) (100,0) (0,100);"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = shapes_of(picture);
    ASSERT_EQ(shapes.size(), 10u);
    EXPECT_EQ(shapes[0]->line_width, 0);
    EXPECT_EQ(shapes[0]->flags, 2);   // width 0: no outline
    EXPECT_EQ(shapes[1]->flags, 1);   // a line keeps its outline flag even at width 0
    EXPECT_EQ(shapes[1]->line_width, 0);
    EXPECT_EQ(shapes[2]->line_width, 2);
    EXPECT_EQ(shapes[2]->flags, 3);
    EXPECT_EQ(shapes[3]->flags, 3);   // hollow: fill unchanged
    EXPECT_EQ(shapes[4]->flags, 1);   // empty: fill off
    EXPECT_EQ(shapes[4]->triangle_count, 0);
    EXPECT_EQ(shapes[5]->flags, 1);   // still off
    EXPECT_EQ(shapes[6]->flags, 2);   // edges hidden
    EXPECT_EQ(shapes[7]->flags, 2);   // lower-case "on" is not recognised
    EXPECT_EQ(shapes[8]->flags, 1);   // a line is never filled
    EXPECT_EQ(shapes[8]->triangle_count, 0);
    EXPECT_EQ(shapes[9]->flags, 3);
    free_picture(picture);
}

TEST(CgmLoader, FirstColourTableIgnoresItsStartIndex)
{
    Picture* picture = load_text("first_table.cgm",
                                 "BEGMF \"x\";\ncolrtable 1 0 0 0 255 255 255;\n"
                                 "fillcolr 2;\nlinecolr 1;\npolygon (0,0) (10,0) (0,10);\n"
                                 "fillcolr 1;\nlinecolr 2;\npolygon (0,0) (10,0) (0,10);\nENDMF;\n");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->colour_count, 2);
    EXPECT_EQ(picture->palette[0], 0u);
    EXPECT_EQ(picture->palette[1], 0x000000u);
    EXPECT_EQ(picture->palette[2], 0xFFFFFFu);
    EXPECT_EQ(picture->palette[3], 0u);
    const auto shapes = shapes_of(picture);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0]->fill_colour, 2);
    EXPECT_EQ(shapes[0]->line_colour, 1);
    EXPECT_EQ(shapes[1]->fill_colour, 1);
    EXPECT_EQ(shapes[1]->line_colour, 2);
    free_picture(picture);
}

TEST(CgmLoader, LaterColourEntriesReuseOrAppend)
{
    Picture* picture =
        load_text("later_table.cgm", cgm("colrtable 7 255 0 0;\nfillcolr 7;\npolygon (0,0) (10,0) (0,10);\n"
                                         "colrtable 8 1 2 3;\nfillcolr 8;\npolygon (0,0) (10,0) (0,10);\n"
                                         "fillcolr 4;\ncolrtable 4 9 9 9;\npolygon (0,0) (10,0) (0,10);\n"
                                         "backcolr 1 2 3;"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->colour_count, 7);   // five from the table, then 1 2 3 and 9 9 9
    EXPECT_EQ(picture->palette[3], 0xFF0000u);
    EXPECT_EQ(picture->palette[6], 0x010203u);
    EXPECT_EQ(picture->palette[7], 0x090909u);
    EXPECT_EQ(picture->background_colour, 0x010203u);
    const auto shapes = shapes_of(picture);
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0]->fill_colour, 3);   // red was already at position 3
    EXPECT_EQ(shapes[1]->fill_colour, 6);
    EXPECT_EQ(shapes[2]->fill_colour, 4);   // selected before being redefined
    free_picture(picture);
}

TEST(CgmLoader, ColourIndexMapCarriesOverToTheNextPicture)
{
    Picture* first = load_text("map_a.cgm", cgm("colrtable 42 10 20 30;"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->palette[6], 0x0A141Eu);
    Picture* second = load_text(
        "map_b.cgm", "BEGMF \"x\";\ncolrtable 0 1 1 1;\nfillcolr 42;\npolygon (0,0) (10,0) (0,10);\n");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second->shapes, nullptr);
    EXPECT_EQ(second->shapes->fill_colour, 6);
    free_picture(first);
    free_picture(second);
}

TEST(CgmLoader, NormalisesLongerSideToUnitAndKeepsYUp)
{
    Picture* picture = load_text("box.cgm", cgm("line (0,0) (200,0) (200,100) (0,100);"));
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->shapes, nullptr);
    EXPECT_EQ(picture->shapes->points, (Values{-65536, -32768, 65536, -32768, 65536, 32768, -65536, 32768}));
    free_picture(picture);
}

TEST(CgmLoader, PointListSeparatorsAndTokenValues)
{
    // Points directly after each other, a list ended by ";" right after ")", and
    // operands like "3;" whose value is their leading number.
    Picture* picture =
        load_text("tokens.cgm", cgm("fillcolr 3; linecolr\t2;\npolygon (0,0)(10,0)(10,10)(0,10);\n"
                                    "polygon (0,0)  ( 10, 0) xx (0,10);"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = shapes_of(picture);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0]->point_count, 4);
    EXPECT_EQ(shapes[0]->fill_colour, 3);
    EXPECT_EQ(shapes[0]->line_colour, 2);
    EXPECT_EQ(shapes[1]->point_count, 3);
    free_picture(picture);
}

TEST(CgmLoader, RejectsMissingAndForeignFiles)
{
    EXPECT_EQ(load_picture("/nonexistent/dir/none.cgm"), nullptr);
    EXPECT_NE(std::string(picture_error).find("cannot open"), std::string::npos);
    EXPECT_EQ(load_text("foreign.cgm", "begmf;\ncolrtable 1 0 0 0;\n"), nullptr);
    EXPECT_NE(std::string(picture_error).find("BEGMF"), std::string::npos);
    EXPECT_EQ(load_text("empty.cgm", ""), nullptr);
}

TEST(CgmLoader, CapacitiesAreNeverOverrun)
{
    std::string many = "polygon";
    for (int k = 0; k < 600; ++k)
        many += " (" + std::to_string(k) + "," + std::to_string(k % 7) + ")";
    std::string big_table = "BEGMF \"x\";\ncolrtable 1";
    for (int k = 0; k < 250; ++k) {
        big_table += ' ';
        big_table += std::to_string(k);
        big_table += " 0 0";
    }
    big_table +=
        ";\nfillcolr 150;\ncolrtable 120 1 2 3;\ncolrtable 5 7 7 7;\nfillcolr 5;\n"
        "polygon (0,0) (10,0) (0,10);\n";

    Picture* picture = load_text("many_points.cgm", cgm(many + ";\nline (1,1) (2,2);"));
    ASSERT_NE(picture, nullptr);
    const auto shapes = shapes_of(picture);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0]->point_count, 500);
    EXPECT_EQ(shapes[1]->point_count, 2);   // reading goes on after the dropped points
    free_picture(picture);

    picture = load_text("big_table.cgm", big_table);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->colour_count, 199);
    EXPECT_EQ(picture->palette[199], 198u * 65536u);
    ASSERT_NE(picture->shapes, nullptr);
    EXPECT_EQ(picture->shapes->fill_colour, 5);   // 7 7 7 found no room; index 5 kept 5
    free_picture(picture);
}

TEST(CgmLoader, TruncatedFilesLoadWhatWasRead)
{
    Picture* picture =
        load_text("cut_points.cgm", "BEGMF \"x\";\ncolrtable 1 0 0 0;\npolygon (0,0) (10,0) (5,");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->shapes, nullptr);
    EXPECT_EQ(picture->shapes->point_count, 2);
    free_picture(picture);

    picture = load_text("no_table.cgm", "BEGMF \"x\";\npolygon (0,0) (10,0) (0,10);\n");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->shapes, nullptr);
    EXPECT_EQ(picture->colour_count, 0);
    free_picture(picture);

    picture = load_text("ends_on_keyword.cgm", "BEGMF \"x\";\ncolrtable 1 0 0 0;\nrect");
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(picture->shapes, nullptr);
    EXPECT_EQ(picture->shapes->point_count, 0);
    EXPECT_EQ(picture->shapes->triangle_count, 0);
    free_picture(picture);

    picture = load_text("cut_table.cgm", "BEGMF \"x\";\ncolrtable 1 10 20");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->colour_count, 0);
    free_picture(picture);
}

TEST(CgmLoader, CoincidentPointsGiveZeroCoordinates)
{
    Picture* picture = load_text("dot.cgm", cgm("polygon (7,7) (7,7) (7,7);\nline (7,7) (7,7);"));
    ASSERT_NE(picture, nullptr);
    for (const Shape* s = picture->shapes; s; s = s->next)
        for (std::int32_t v : s->points)
            EXPECT_EQ(v, 0);
    free_picture(picture);
}

TEST(CgmLoader, ArbitraryBytesDoNotBreakTheLoader)
{
    std::uint32_t state = 12345;
    for (int round = 0; round < 20; ++round) {
        std::string noise = "BEGMF colrtable 1 ";
        const char alphabet[] = "0123456789-+(),; \n\tpolygonrectlinefillcolrcolrtableSE\x01\xff";
        for (int k = 0; k < 3000; ++k) {
            state = state * 1103515245u + 12345u;
            noise += alphabet[(state >> 16) % (sizeof alphabet - 1)];
        }
        Picture* picture = load_text("noise.cgm", noise);
        ASSERT_NE(picture, nullptr);
        for (const Shape* s = picture->shapes; s; s = s->next) {
            EXPECT_LE(s->point_count, 500);
            EXPECT_EQ(s->points.size(), 2u * static_cast<std::size_t>(s->point_count));
            EXPECT_GE(s->fill_colour, 0);
            EXPECT_LT(s->fill_colour, 200);
        }
        EXPECT_LE(picture->colour_count, 199);
        free_picture(picture);
    }
}

}   // namespace
