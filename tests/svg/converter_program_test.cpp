// The tinkettles-svg program itself: its exit statuses, its messages on standard
// error, and that nothing is written when the input is wrong.
#include "svg_test_support.h"

#include "common/program_run.h"
#include "pictures/loader_extras.h"

#include <gtest/gtest.h>

namespace {

ProgramRun run_converter(const std::string& arguments)
{
    return run_program(std::string("'") + TINKETTLES_SVG + "' " + arguments);
}

TEST(ConverterProgram, BadArgumentsPrintUsageAndExit2)
{
    for (const char* arguments : {"", "only-one.svg", "in.svg out.png", "--scale x in.svg out.cgm",
                                  "--segments -3 in.svg out.txt", "--bogus 1 in.svg out.cgm"}) {
        const ProgramRun run = run_converter(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.errors.find("usage: tinkettles-svg"), std::string::npos) << arguments;
    }
}

TEST(ConverterProgram, UnreadableOrWrongInputExits1AndWritesNothing)
{
    const std::filesystem::path directory = program_scratch_folder();
    const std::filesystem::path output = directory / "never.cgm";
    const ProgramRun missing =
        run_converter(shell_quoted(directory / "missing.svg") + " " + shell_quoted(output));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors.rfind("tinkettles-svg: cannot read ", 0), 0u) << missing.errors;
    EXPECT_NE(missing.errors.find("missing.svg: No such file or directory"), std::string::npos)
        << missing.errors;

    // A folder opens but cannot be read: named with the reason, not parsed as an empty file.
    const ProgramRun folder = run_converter(shell_quoted(directory) + " " + shell_quoted(output));
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.errors, "tinkettles-svg: cannot read " + directory.string() + ": Is a directory\n");

    write_text(directory / "broken.svg", "<svg viewBox='0 0 9 9'>\n<path d='M1 1 Q2'/>\n</svg>\n");
    const ProgramRun broken =
        run_converter(shell_quoted(directory / "broken.svg") + " " + shell_quoted(output));
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.errors.find("broken.svg:2: error: <path> d:"), std::string::npos) << broken.errors;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(ConverterProgram, WarningsAreShownButTheFileIsWritten)
{
    const std::filesystem::path directory = program_scratch_folder();
    write_text(directory / "dashed.svg",
               svg_document("<path d='M1 1 L50 50' stroke='#000' stroke-dasharray='2 2'/>"));
    const std::filesystem::path output = directory / "dashed.txt";
    const ProgramRun run =
        run_converter("--segments 7 '" + (directory / "dashed.svg").string() + "' '" + output.string() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.errors.find("warning: <path> stroke-dasharray is not supported"), std::string::npos)
        << run.errors;
    TextPicture* picture = load_text_picture(output.c_str());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->point_counts[0], 8);   // --segments 7
    free_text_picture(picture);
}

}   // namespace
