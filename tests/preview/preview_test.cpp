#include "common/files.h"
#include "common/png_file.h"
#include "common/program_run.h"
#include "common/scratch_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string temp_path(const std::string& name)
{
    return (program_scratch_folder() / name).string();
}

std::string write_file(const std::string& name, const std::string& content)
{
    const std::string path = temp_path(name);
    write_text(path, content);
    return path;
}

ProgramRun run_preview(const std::string& arguments)
{
    return run_program(PREVIEW_PROGRAM " " + arguments);
}

bool pngcheck_accepts(const std::string& path)
{
    return run_program("pngcheck -q " + path).status == 0;
}

struct PixelColour {
    int x;
    int y;
    std::uint32_t colour;
};

void expect_pixels(const PngImage& image, std::initializer_list<PixelColour> pixels)
{
    for (const PixelColour& p : pixels)
        EXPECT_EQ(image.rgb(p.x, p.y), p.colour) << "pixel " << p.x << "," << p.y;
}

// Runs the preview on a file holding content and reads the PNG it wrote; the run's
// failure is reported and an empty image returned.
PngImage render(const std::string& options, const std::string& name, const std::string& content)
{
    const std::string input = write_file(name, content);
    const std::string output = temp_path(name + ".png");
    const ProgramRun run = run_preview(options + " " + input + " " + output);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(pngcheck_accepts(output)) << output;
    return read_png(output);
}

constexpr std::uint32_t black = 0x000000;
constexpr std::uint32_t red = 0xFF0000;
constexpr std::uint32_t blue = 0x0000FF;
constexpr std::uint32_t white = 0xFFFFFF;

// A red square with a blue square in its middle; the first table gives black, red, blue.
const std::string squares =
    "BEGMF \"squares\";\ncolrtable 1 0 0 0 255 0 0 0 0 255;\nedgevis OFF;\n"
    "fillcolr 2;\nrect (0,0) (100,100);\nfillcolr 3;\nrect (40,40) (60,60);\nENDMF;\n";

TEST(Preview, DrawsAPictureWithItsPaletteAtTheDefaultScale)
{
    const PngImage image = render("", "squares.cgm", squares);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.width, 320);
    EXPECT_EQ(image.height, 200);
    EXPECT_TRUE(image.indexed);
    EXPECT_EQ(image.palette_size, 256);
    // Scale 90: the square spans 360 quarter pixels either side of (640, 400), that is
    // columns 70..250 and rows 10..190; the inner square is a fifth of that.
    expect_pixels(image, {{70, 10, red},
                          {250, 190, red},
                          {69, 100, black},
                          {251, 100, black},
                          {160, 9, black},
                          {160, 100, blue},
                          {160, 80, red}});
}

TEST(Preview, ScaleAndOffsetMoveThePicture)
{
    const PngImage image = render("--scale 45 --offset 40 -20", "moved.cgm", squares);
    ASSERT_TRUE(image.ok);
    // x: 640 + 40 +- 180 = 500..860 (columns 125..215); y: 400 - 20 +- 180 (rows 50..140).
    expect_pixels(image, {{125, 50, red},
                          {215, 140, red},
                          {124, 100, black},
                          {216, 100, black},
                          {170, 49, black},
                          {170, 141, black},
                          {170, 95, blue}});
}

TEST(Preview, PresentEnlargesWithDimmedOddLines)
{
    const PngImage image = render("--present", "present.cgm", squares);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.width, 640);
    EXPECT_EQ(image.height, 480);
    EXPECT_FALSE(image.indexed);
    // Frame pixel (x, y) becomes screen pixels (2x .. 2x+1, 40 + 2y), then a line at
    // four fifths brightness.
    expect_pixels(image, {{320, 240, blue},
                          {321, 241, 0x0000CCu},
                          {140, 60, red},
                          {141, 61, 0xCC0000u},
                          {139, 60, black},
                          {320, 20, black}});
}

TEST(Preview, DrawsTextPicturesWhiteOnBlackUpToNSegments)
{
    // Stored points (40,40)-(80,40) and (40,120)-(80,120): rows 9-10 and 29-30.
    const std::string lines = "2 80 288 160 288\n2 80 448 160 448\n-1\n";
    const PngImage a = render("", "lines.txt", lines);
    const PngImage f = render("--segments 1", "lines.txt", lines);
    ASSERT_TRUE(a.ok && f.ok);
    EXPECT_EQ(a.width, 320);
    expect_pixels(a, {{15, 9, white}, {15, 10, white}, {15, 30, white}, {15, 11, black}});
    expect_pixels(f, {{15, 10, white}, {15, 30, black}});
}

TEST(Preview, BadArgumentsPrintUsageAndExit2)
{
    const std::string input = write_file("args.cgm", squares);
    const std::string output = temp_path("args.png");
    for (const std::string& arguments :
         {std::string(""), input, "--scale " + input + " " + output, "--scale 9x " + input + " " + output,
          "--offset 1 " + input + " " + output, "--segments -1 " + input + " " + output,
          "--zoom 2 " + input + " " + output, input + " " + output + " extra.png",
          output + " " + temp_path("out2.png"), "--scale 99999999999 " + input + " " + output}) {
        const ProgramRun run = run_preview(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.errors.find("usage: tinkettles-preview"), std::string::npos) << arguments;
    }
}

TEST(Preview, FilesThatDoNotLoadSayWhyAndExit1)
{
    const std::string output = temp_path("fail.png");
    ProgramRun run = run_preview("/nonexistent/none.cgm " + output);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("/nonexistent/none.cgm: cannot open"), std::string::npos) << run.errors;

    const std::string foreign = write_file("foreign.cgm", "PNG?\n");
    run = run_preview(foreign + " " + output);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("BEGMF"), std::string::npos) << run.errors;

    run = run_preview("/nonexistent/none.txt " + output);
    EXPECT_EQ(run.status, 1);

    const std::string input = write_file("unwritable.cgm", squares);
    run = run_preview(input + " /nonexistent/dir/out.png");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("/nonexistent/dir/out.png"), std::string::npos) << run.errors;
}

// A full device: the reason is named, and the device is left in place (only a
// half-written regular file is removed).
TEST(Preview, AFullDeviceIsReportedAndKept)
{
    struct stat before;
    if (stat("/dev/full", &before) != 0 || !S_ISCHR(before.st_mode))
        GTEST_SKIP() << "no /dev/full device here";
    const std::string input = write_file("full.cgm", squares);
    for (const char* options : {"", "--present "}) {
        const ProgramRun run = run_preview(options + input + " /dev/full");
        EXPECT_EQ(run.status, 1) << options;
        EXPECT_EQ(run.errors, "tinkettles-preview: cannot write /dev/full: No space left on device\n");
        struct stat after;
        ASSERT_EQ(stat("/dev/full", &after), 0);
        EXPECT_TRUE(S_ISCHR(after.st_mode));
    }
}

}   // namespace
