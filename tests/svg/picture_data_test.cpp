// The demo's own pictures and line drawings: rebuilt from assets/ byte for byte, within
// the loader's limits with every filled polygon cut into triangles, drawn by the demo's
// rasterizer over the same pixels as an independent SVG renderer, and made for the
// scenes that show them.
#include "svg_test_support.h"

#include "common/png_file.h"
#include "common/program_run.h"
#include "pictures/loader_extras.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const std::filesystem::path source_root = TK_SOURCE_DIR;

struct DataFile {
    std::string source;   // relative to the repository root
    std::string target;
};

std::vector<DataFile> manifest()
{
    std::vector<DataFile> files;
    std::ifstream list(source_root / "assets/pictures/pictures.list");
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        DataFile file;
        if (line.empty() || line[0] == '#' || !(fields >> file.source >> file.target))
            continue;
        files.push_back(file);
    }
    return files;
}

std::vector<DataFile> pictures()
{
    std::vector<DataFile> found;
    for (const DataFile& file : manifest())
        if (file.target.ends_with(".cgm"))
            found.push_back(file);
    return found;
}

TEST(PictureData, ManifestNamesAllTwelveFilesTheDemoLoads)
{
    std::vector<std::string> targets;
    for (const DataFile& file : manifest())
        targets.push_back(file.target);
    std::sort(targets.begin(), targets.end());
    const std::vector<std::string> demo_files{"data/afrogirl.txt",   "data/ankels.cgm",    "data/blinq.cgm",
                                              "data/blinq2.cgm",     "data/bottles.cgm",   "data/flonk1.cgm",
                                              "data/flonk2.cgm",     "data/groovster.txt", "data/strutto.cgm",
                                              "data/struttoblk.cgm", "data/wobbli.cgm",    "data/zippsy.cgm"};
    EXPECT_EQ(targets, demo_files);
}

TEST(PictureData, RebuildingFromTheSourcesGivesTheSameBytes)
{
    const std::filesystem::path root = program_scratch_folder() / "rebuilt";
    std::filesystem::create_directories(root);
    const ProgramRun run = run_program(
        std::string("sh assets/pictures/build-data.sh '") + TINKETTLES_SVG + "' '" + root.string() + "' 2>&1",
        source_root);
    ASSERT_EQ(run.status, 0) << run.out;
    // The sources convert without a single warning.
    EXPECT_EQ(run.out.find("warning"), std::string::npos) << run.out;
    for (const DataFile& file : manifest()) {
        const std::string committed = read_text(source_root / file.target);
        ASSERT_FALSE(committed.empty()) << file.target;
        EXPECT_TRUE(committed == read_text(root / file.target))
            << file.target << " differs from what " << file.source << " makes";
    }
}

TEST(PictureData, EveryPictureLoadsWithinLimitsAndEveryFillHasTriangles)
{
    for (const DataFile& file : pictures()) {
        Picture* picture = load_picture((source_root / file.target).c_str());
        ASSERT_NE(picture, nullptr) << file.target;
        EXPECT_GE(picture->colour_count, 1) << file.target;
        EXPECT_LE(picture->colour_count, 99) << file.target;
        int filled = 0;
        for (const Shape* shape = picture->shapes; shape; shape = shape->next) {
            EXPECT_LE(shape->point_count, 500) << file.target;
            EXPECT_GE(shape->fill_colour, 1);
            EXPECT_LE(shape->fill_colour, picture->colour_count) << file.target;
            EXPECT_LE(shape->line_colour, picture->colour_count) << file.target;
            if (shape->flags & 2) {
                ++filled;
                EXPECT_GT(shape->triangle_count, 0) << file.target << ": a filled polygon of "
                                                    << shape->point_count << " points has no triangles";
            }
        }
        EXPECT_GT(filled, 0) << file.target;
        free_picture(picture);
    }
}

struct Coverage {
    int both = 0, either = 0;
    double iou() const { return either ? double(both) / either : 1.0; }
};

// Draws the picture at its own scale onto a canvas of whole 320 x 200 frames, one frame
// at a time through the picture offsets, and compares it with rsvg-convert's rendering
// of the SVG at the same size and place.
Coverage compare_with_rsvg(const DataFile& file)
{
    Coverage coverage;
    Conversion conversion;
    const std::string svg = read_text(source_root / file.source);
    EXPECT_TRUE(read_svg(svg, ReadOptions{}, conversion.drawing, conversion.diagnostics));
    const SvgDrawing& drawing = conversion.drawing;
    const double pixels = pixels_per_unit(drawing, OutputKind::picture);
    const double width = drawing.view_width * pixels, height = drawing.view_height * pixels;
    const int tiles_x = static_cast<int>(std::ceil((width + 2) / 320));
    const int tiles_y = static_cast<int>(std::ceil((height + 2) / 200));
    const int canvas_width = 320 * tiles_x, canvas_height = 200 * tiles_y;
    // The picture's centre: a pixel centre of the demo, a pixel corner plus a half for rsvg.
    const int centre_x = 160 * tiles_x, centre_y = 100 * tiles_y;

    pugi::xml_document document;
    document.load_string(svg.c_str());
    const double intrinsic =
        document.document_element().attribute("width").as_double(drawing.view_width) / drawing.view_width;
    const std::filesystem::path rendered = program_scratch_folder() / "rsvg.png";
    char command[1024];
    std::snprintf(
        command, sizeof command,
        "rsvg-convert --zoom %.9f --page-width %d --page-height %d --left %.6f --top %.6f '%s' -o '%s'",
        pixels / intrinsic, canvas_width, canvas_height, centre_x + 0.5 - width / 2,
        centre_y + 0.5 - height / 2, (source_root / file.source).c_str(), rendered.c_str());
    EXPECT_EQ(run_program(command).status, 0) << command;
    const PngImage reference = read_png(rendered, true);
    EXPECT_TRUE(reference.ok) << rendered;
    EXPECT_EQ(reference.width, canvas_width);
    EXPECT_EQ(reference.height, canvas_height);
    if (reference.width != canvas_width || reference.height != canvas_height)
        return coverage;

    Picture* picture = load_picture((source_root / file.target).c_str());
    EXPECT_NE(picture, nullptr);
    if (!picture)
        return coverage;
    picture_scale = static_cast<std::int32_t>(drawing.scale);
    std::vector<std::uint8_t> frame(320 * 200);
    for (int ty = 0; ty < tiles_y; ++ty)
        for (int tx = 0; tx < tiles_x; ++tx) {
            std::fill(frame.begin(), frame.end(), 255);
            picture_offset_x = 4 * (centre_x - 320 * tx - 160);
            picture_offset_y = 4 * (centre_y - 200 * ty - 100);
            draw_picture(picture, frame.data(), screen_transform);
            for (int y = 0; y < 200; ++y)
                for (int x = 0; x < 320; ++x) {
                    const int cx = 320 * tx + x, cy = 200 * ty + y;
                    const bool ours = frame[y * 320 + x] != 255;
                    const bool theirs = reference.at(cx, cy)[3] >= 128;
                    coverage.both += ours && theirs;
                    coverage.either += ours || theirs;
                }
        }
    free_picture(picture);
    return coverage;
}

TEST(PictureData, DemoRasterizerAndRsvgCoverTheSamePixels)
{
    if (run_program("rsvg-convert --version").status != 0)
        GTEST_SKIP() << "rsvg-convert (librsvg2-bin) is not installed";
    for (const DataFile& file : pictures()) {
        const Coverage coverage = compare_with_rsvg(file);
        std::printf("intersection over union %-22s %.4f\n", file.target.c_str(), coverage.iou());
        RecordProperty(file.target, std::to_string(coverage.iou()));
        EXPECT_GE(coverage.iou(), 0.95) << file.target;
    }
}

std::vector<int> colours_used(const Picture* picture)
{
    std::vector<int> used;
    for (const Shape* shape = picture->shapes->next; shape; shape = shape->next) {   // past the frame
        if (shape->flags & 2)
            used.push_back(shape->fill_colour);
        if ((shape->flags & 1) && shape->line_width > 0)
            used.push_back(shape->line_colour);
    }
    return used;
}

TEST(PictureData, PalettesFitTheScenesThatShowThem)
{
    auto load = [](const char* name) { return load_picture((source_root / "data" / name).c_str()); };
    Picture* flonk1 = load("flonk1.cgm");
    Picture* flonk2 = load("flonk2.cgm");
    Picture* strutto = load("strutto.cgm");
    Picture* struttoblk = load("struttoblk.cgm");
    Picture* blinq = load("blinq.cgm");
    Picture* blinq2 = load("blinq2.cgm");
    ASSERT_TRUE(flonk1 && flonk2 && strutto && struttoblk && blinq && blinq2);
    // The tunnel rings show in flonk1's and strutto's colours 1-3; they use no others.
    for (const Picture* ring : {blinq, blinq2})
        for (int colour : colours_used(ring)) {
            EXPECT_GE(colour, 1);
            EXPECT_LE(colour, 3);
        }
    // struttoblk is shown in strutto's palette: the same colours in the same places.
    EXPECT_EQ(std::vector<std::uint32_t>(strutto->palette, strutto->palette + 200),
              std::vector<std::uint32_t>(struttoblk->palette, struttoblk->palette + 200));
    // Scene 8 turns flonk2's colours 1 and 2 into sky and rings, 3 into black: the
    // figure keeps off 1 and 2 and has black at 3.
    for (int colour : colours_used(flonk2))
        EXPECT_GT(colour, 2);
    EXPECT_EQ(flonk2->palette[3], 0u);
    for (Picture* picture : {flonk1, flonk2, strutto, struttoblk, blinq, blinq2})
        free_picture(picture);
}

TEST(PictureData, LineDrawingsFinishJustBeforeTheirScenesEnd)
{
    // Scene 3 draws one segment every 5 ms for 24.5 s, scene 6 one every 9 ms for
    // 32.7 s (three and four patterns of 64 rows at 6 ticks of 1/47 s).
    struct Drawing {
        const char* file;
        double milliseconds_per_segment;
        double scene_milliseconds;
    };
    const double pattern = 64 * 6 * 1000.0 / 47;
    for (const Drawing& d :
         {Drawing{"data/afrogirl.txt", 5, 3 * pattern}, Drawing{"data/groovster.txt", 9, 4 * pattern}}) {
        TextPicture* picture = load_text_picture((source_root / d.file).c_str());
        ASSERT_NE(picture, nullptr) << d.file;
        EXPECT_LE(picture->polyline_count, 1000);
        int segments = 0;
        for (int i = 0; i < picture->polyline_count; ++i) {
            segments += std::max(0, picture->point_counts[i] - 1);
            for (int k = 0; k < picture->point_counts[i]; ++k) {   // all on screen
                const int x = picture->points[i][2 * k], y = picture->points[i][2 * k + 1];
                EXPECT_TRUE(x >= 0 && x < 1280 && y >= 0 && y < 800) << d.file << ": " << x << "," << y;
            }
        }
        const double finish = segments * d.milliseconds_per_segment;
        EXPECT_LT(finish, d.scene_milliseconds) << d.file;
        EXPECT_GT(finish, d.scene_milliseconds - 1500) << d.file;
        free_text_picture(picture);
    }
}

}   // namespace
