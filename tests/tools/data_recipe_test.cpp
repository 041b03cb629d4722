// The data target's recipe (tools/make-data.sh) run as the target runs it, but into a
// scratch folder: the fourteen files the demo reads, byte for byte as committed. And
// the picture script run from another folder, and refusing to convert nothing.
#include "common/files.h"
#include "common/scratch_folder.h"

#include <gtest/gtest.h>


#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const demo_files[] = {
    "da_wobble.mod", "fontti.raw", "afrogirl.txt", "groovster.txt", "ankels.cgm", "blinq.cgm", "blinq2.cgm",
    "bottles.cgm", "flonk1.cgm", "flonk2.cgm", "strutto.cgm", "struttoblk.cgm", "wobbli.cgm", "zippsy.cgm",
};

int run(const std::string& command)
{
    return WEXITSTATUS(std::system(command.c_str()));
}

TEST(DataRecipe, MakesTheFourteenCommittedFilesByteForByte)
{
    const ScratchFolder scratch("data");
    // Run from an unrelated folder, with a relative output root.
    const std::string command = "cd '" + scratch.path.string() + "' && sh " TK_SOURCE_DIR "/tools/make-data.sh '" TK_COMPOSE
                                "' '" TK_SVG "' '" TK_FONT "' copy >log.txt 2>&1";
    ASSERT_EQ(run(command), 0) << read_text(scratch.path / "log.txt");
    std::size_t made = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch.path / "copy" / "data"))
        ++made;
    EXPECT_EQ(made, std::size(demo_files));
    for (const char* name : demo_files) {
        const std::string committed = read_text(fs::path(TK_SOURCE_DIR) / "data" / name);
        ASSERT_FALSE(committed.empty()) << name;
        EXPECT_TRUE(read_text(scratch.path / "copy" / "data" / name) == committed)
            << name << " differs from what its sources make";
    }
}

TEST(DataRecipe, PictureScriptWorksAnywhereAndRefusesToConvertNothing)
{
    const ScratchFolder scratch("data");
    const std::string from_elsewhere = "cd '" + scratch.path.string() + "' && sh " TK_SOURCE_DIR
                                       "/assets/pictures/build-data.sh '" TK_SVG "' out >log.txt 2>&1";
    ASSERT_EQ(run(from_elsewhere), 0) << read_text(scratch.path / "log.txt");
    EXPECT_EQ(read_text(scratch.path / "out" / "data" / "blinq.cgm"),
              read_text(fs::path(TK_SOURCE_DIR) / "data" / "blinq.cgm"));

    // A copy of the script beside an empty list, two folders down as in the repository.
    const fs::path copy = scratch.path / "repo" / "assets" / "pictures";
    fs::create_directories(copy);
    fs::copy_file(fs::path(TK_SOURCE_DIR) / "assets" / "pictures" / "build-data.sh", copy / "build-data.sh");
    write_text(copy / "pictures.list", "# nothing listed\n");
    const std::string empty = "sh '" + (copy / "build-data.sh").string() + "' '" TK_SVG "' '" +
                              (scratch.path / "empty").string() + "' 2>'" + (scratch.path / "errors.txt").string() + "'";
    EXPECT_EQ(run(empty), 1);
    EXPECT_NE(read_text(scratch.path / "errors.txt").find("build-data.sh: "), std::string::npos);
    EXPECT_NE(read_text(scratch.path / "errors.txt").find("nothing was converted"), std::string::npos)
        << read_text(scratch.path / "errors.txt");

    const std::string no_tool = "sh " TK_SOURCE_DIR "/assets/pictures/build-data.sh /nonexistent/tinkettles-svg '" +
                                (scratch.path / "none").string() + "' 2>'" + (scratch.path / "errors.txt").string() + "'";
    EXPECT_EQ(run(no_tool), 1);
    EXPECT_NE(read_text(scratch.path / "errors.txt").find("no converter at /nonexistent/tinkettles-svg"),
              std::string::npos);
}

}  // namespace
