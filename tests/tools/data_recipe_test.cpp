// The data target's recipe (tools/make-data.sh) run as the target runs it, but into a
// scratch folder: the fourteen files the demo reads, byte for byte as committed. And
// the picture script run from another folder, and refusing to convert nothing.
#include "common/files.h"
#include "common/program_run.h"
#include "common/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const demo_files[] = {
    "da_wobble.mod", "fontti.raw",     "afrogirl.txt", "groovster.txt", "ankels.cgm",
    "blinq.cgm",     "blinq2.cgm",     "bottles.cgm",  "flonk1.cgm",    "flonk2.cgm",
    "strutto.cgm",   "struttoblk.cgm", "wobbli.cgm",   "zippsy.cgm",
};

TEST(DataRecipe, MakesTheFourteenCommittedFilesByteForByte)
{
    const ScratchFolder scratch("data");
    // Run from an unrelated folder, with a relative output root.
    const ProgramRun recipe = run_program("sh " TK_SOURCE_DIR "/tools/make-data.sh '" TK_COMPOSE "' '" TK_SVG
                                          "' '" TK_FONT "' copy 2>&1",
                                          scratch.path);
    ASSERT_EQ(recipe.status, 0) << recipe.out;
    std::size_t made = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch / "copy" / "data"))
        ++made;
    EXPECT_EQ(made, std::size(demo_files));
    for (const char* name : demo_files) {
        const std::string committed = read_text(fs::path(TK_SOURCE_DIR) / "data" / name);
        ASSERT_FALSE(committed.empty()) << name;
        EXPECT_TRUE(read_text(scratch / "copy" / "data" / name) == committed)
            << name << " differs from what its sources make";
    }
}

TEST(DataRecipe, PictureScriptWorksAnywhereAndRefusesToConvertNothing)
{
    const ScratchFolder scratch("data");
    const ProgramRun from_elsewhere =
        run_program("sh " TK_SOURCE_DIR "/assets/pictures/build-data.sh '" TK_SVG "' out 2>&1", scratch.path);
    ASSERT_EQ(from_elsewhere.status, 0) << from_elsewhere.out;
    EXPECT_EQ(read_text(scratch / "out" / "data" / "blinq.cgm"),
              read_text(fs::path(TK_SOURCE_DIR) / "data" / "blinq.cgm"));

    // A copy of the script beside an empty list, two folders down as in the repository.
    const fs::path copy = scratch / "repo" / "assets" / "pictures";
    fs::create_directories(copy);
    fs::copy_file(fs::path(TK_SOURCE_DIR) / "assets" / "pictures" / "build-data.sh", copy / "build-data.sh");
    write_text(copy / "pictures.list", "# nothing listed\n");
    const ProgramRun empty = run_program("sh '" + (copy / "build-data.sh").string() + "' '" TK_SVG "' '" +
                                         (scratch / "empty").string() + "'");
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.errors.find("build-data.sh: "), std::string::npos);
    EXPECT_NE(empty.errors.find("nothing was converted"), std::string::npos) << empty.errors;

    const ProgramRun no_tool =
        run_program("sh " TK_SOURCE_DIR "/assets/pictures/build-data.sh /nonexistent/tinkettles-svg '" +
                    (scratch / "none").string() + "'");
    EXPECT_EQ(no_tool.status, 1);
    EXPECT_NE(no_tool.errors.find("no converter at /nonexistent/tinkettles-svg"), std::string::npos);
}

}   // namespace
