// The picture tunnel draws each copy with its transform inlined and each distinct
// triangle corner transformed once per copy, from a table of the picture's corners
// built on first use. These tests hold whole frames of it to a plain model: the six
// copies drawn one by one with draw_picture through a transform in 64-bit arithmetic
// with true divisions, on the demo's own tunnel pictures, and again after the pictures
// change under the table (swapped, or their corners moved in place).
#include "common/scratch_folder.h"
#include "effects/effects.h"
#include "pictures/pictures.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// Pictures are never freed: every one loaded here stays reachable from this (with
// external linkage, so that no compiler drops it).
Picture* kept_test_pictures[3];

namespace {

using Frame = std::array<std::uint8_t, 320 * 200>;

struct ModelCopy {
    std::int64_t m00, m01, m10, m11, distance;
} model_copy;

void model_transform(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y)
{
    const ModelCopy& c = model_copy;
    const std::int64_t turned_x = ((c.m00 * x) >> 14) + ((c.m01 * y) >> 14);
    const std::int64_t turned_y = ((c.m10 * x) >> 14) + ((c.m11 * y) >> 14);
    const std::int64_t near_x = turned_x * 400 / c.distance;
    const std::int64_t near_y = turned_y * 400 / c.distance;
    *out_x = static_cast<std::int32_t>(((near_x * 100) >> 14) + 640);
    *out_y = static_cast<std::int32_t>(400 - ((near_y * 100) >> 14));
}

// The effect as written out: one angle through single precision, six copies at depths
// 200 apart, the sixth at the fixed distance 1080, even copies the second picture.
void model_tunnel(Frame& frame, std::int32_t time)
{
    const auto angle = static_cast<float>(static_cast<double>(time) * 0.001);
    const double c = std::cos(static_cast<double>(angle));
    const double s = std::sin(static_cast<double>(angle));
    const auto fixed = [](double v) { return static_cast<std::int64_t>(v * 16384.0); };
    for (std::int64_t i = 0; i < 6; ++i) {
        const std::int64_t depth = (std::int64_t{time} + 100000 + 200 * i) % 1000;
        model_copy = {fixed(c), fixed(-s), fixed(s), fixed(c), i == 5 ? 1080 : depth + 90};
        draw_picture(i % 2 == 0 ? tunnel_picture2 : tunnel_picture, frame.data(), model_transform);
    }
}

void expect_tunnel_matches_model(std::int32_t time)
{
    Frame expected;
    expected.fill(127);
    model_tunnel(expected, time);
    Frame actual;
    actual.fill(127);
    draw_picture_tunnel(actual.data(), time);
    ASSERT_EQ(actual, expected) << "time " << time;
}

Picture* earlier_pictures[2];   // what other suites loaded, put back afterwards

class TunnelDrawingModel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        earlier_pictures[0] = tunnel_picture;
        earlier_pictures[1] = tunnel_picture2;
        kept_test_pictures[0] = tunnel_picture = load_picture("data/blinq.cgm");
        kept_test_pictures[1] = tunnel_picture2 = load_picture("data/blinq2.cgm");
    }
    static void TearDownTestSuite()
    {
        tunnel_picture = earlier_pictures[0];
        tunnel_picture2 = earlier_pictures[1];
    }
    void SetUp() override
    {
        ASSERT_NE(tunnel_picture, nullptr);
        ASSERT_NE(tunnel_picture2, nullptr);
    }
};

// Times across both scenes' ranges, forwards and backwards, every depth and angle
// region visited at some copy.
TEST_F(TunnelDrawingModel, WholeFramesMatchThePlainDrawing)
{
    for (std::int32_t time = 0; time < 120000; time += 1237)
        expect_tunnel_matches_model(time);
    for (std::int32_t time : {1000000 - 83000, 1000000 - 1, 499, 500, 999, 1000})
        expect_tunnel_matches_model(time);
}

// The tables follow the pictures: swapped pictures are drawn as themselves, and a
// picture whose corners moved after its table was built (so that the table's entries
// no longer match) is drawn from its own corners.
TEST_F(TunnelDrawingModel, ChangedPicturesAreDrawnAsTheyAreNow)
{
    expect_tunnel_matches_model(33000);
    std::swap(tunnel_picture, tunnel_picture2);
    expect_tunnel_matches_model(33000);
    std::swap(tunnel_picture, tunnel_picture2);
    expect_tunnel_matches_model(33000);

    Picture* const moved = tunnel_picture2;
    std::int32_t shifted = 0;
    for (Shape* shape = moved->shapes; shape; shape = shape->next) {
        for (std::size_t k = 0; k < shape->triangles.size(); k += 2 + 2 * (k % 3 == 0)) {
            shape->triangles[k] = (shape->triangles[k] * 3) / 4;   // x of some corners
            ++shifted;
        }
    }
    ASSERT_GT(shifted, 100);
    expect_tunnel_matches_model(33000);
    expect_tunnel_matches_model(52345);
}

// A picture of twelve 450-point rings of polygons, 5,400 distinct corners: more than the
// corner table holds, so that the last ones are transformed directly.
TEST_F(TunnelDrawingModel, PicturesBeyondTheTablesCapacityDrawTheSame)
{
    const ScratchFolder scratch("tunnel-many");
    const std::string path = (scratch / "many.cgm").string();
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fprintf(file,
                 "BEGMF \"many\";\ncolrtable 1 255 0 0 0 255 0 0 0 255;\nintstyle SOLID;\nedgevis OFF;\n");
    for (int ring = 0; ring < 12; ++ring) {
        std::fprintf(file, "fillcolr %d;\npolygon", 1 + ring % 3);
        for (int k = 0; k < 450; ++k) {
            const double angle = 6.283185307179586 * k / 450;
            const double radius = 1000.0 - 70.0 * ring + (k % 2) * 25.0;
            std::fprintf(file, " (%d,%d)", static_cast<int>(radius * std::cos(angle)),
                         static_cast<int>(radius * std::sin(angle)));
        }
        std::fprintf(file, ";\n");
    }
    std::fprintf(file, "ENDMF;\n");
    ASSERT_EQ(std::fclose(file), 0);
    Picture* const many = kept_test_pictures[2] = load_picture(path.c_str());
    ASSERT_NE(many, nullptr);
    std::int32_t triangles = 0;
    for (const Shape* shape = many->shapes; shape; shape = shape->next)
        triangles += shape->triangle_count;
    ASSERT_GT(triangles, 12 * 400);

    Picture* const kept = tunnel_picture;
    tunnel_picture = many;
    expect_tunnel_matches_model(500);
    expect_tunnel_matches_model(77777);
    tunnel_picture = kept;
}

}   // namespace
