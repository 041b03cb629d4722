// A data file that opens but cannot be read (here a folder in its place) must be
// refused, not taken for an empty font or an empty line drawing.
#include "picture_test_support.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <filesystem>
#include <string>

namespace {

std::string make_folder(const std::string& name)
{
    const std::string path = (program_scratch_folder() / name).string();
    std::filesystem::create_directories(path);
    return path;
}

TEST(UnreadableFile, FolderInPlaceOfAFileIsRefusedByEveryLoader)
{
    const std::string folder = make_folder("unreadable");
    EXPECT_EQ(load_font(folder.c_str()), -1);
    EXPECT_NE(std::string(picture_error), "");
    EXPECT_EQ(load_text_picture(folder.c_str()), nullptr);
    EXPECT_EQ(load_picture(folder.c_str()), nullptr);
    std::filesystem::remove(folder);
}

}   // namespace
