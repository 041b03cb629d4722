// Reading a module file into its own buffer, with the reason when it cannot, and the
// words a user is shown for the loader's refusals.
#include "common/scratch_folder.h"
#include "sound/module.h"
#include "sound/module_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string write_bytes(const ScratchFolder& folder, const char* name, std::size_t size)
{
    const std::string path = (folder.path / name).string();
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 0; i < size; ++i)
        out.put(static_cast<char>(i % 251));
    return path;
}

}   // namespace

TEST(ModuleFile, AFileIsReadWholeIntoABufferOfItsOwn)
{
    const ScratchFolder folder("module-file");
    const std::string path = write_bytes(folder, "song.mod", 5000);
    char message[module_message_capacity] = "left over";
    ModuleFile module = read_module(path.c_str(), message, sizeof message);
    ASSERT_NE(module.bytes, nullptr);
    EXPECT_EQ(module.size, 5000u);
    EXPECT_EQ(module.bytes[4999], 4999 % 251);
    EXPECT_STREQ(module.name, path.c_str());
    EXPECT_STREQ(message, "");
    free_module(&module);
    EXPECT_EQ(module.bytes, nullptr);
    EXPECT_EQ(module.size, 0u);
    free_module(&module);   // twice is harmless
}

TEST(ModuleFile, FailuresComeBackAsReasonsAndALongFileIsCut)
{
    const ScratchFolder folder("module-file");
    const std::string missing = (folder.path / "missing.mod").string();
    char message[module_message_capacity];
    ModuleFile module = read_module(missing.c_str(), message, sizeof message);
    EXPECT_EQ(module.bytes, nullptr);
    EXPECT_EQ("cannot open " + missing + ": No such file or directory", std::string(message));

    // A folder opens but cannot be read.
    module = read_module(folder.path.c_str(), message, sizeof message);
    EXPECT_EQ(module.bytes, nullptr);
    EXPECT_EQ("cannot read " + folder.path.string(), std::string(message));

    const std::string long_file = write_bytes(folder, "long.mod", module_buffer_bytes + 1);
    module = read_module(long_file.c_str(), message, sizeof message);
    ASSERT_NE(module.bytes, nullptr);
    EXPECT_EQ(module.size, module_buffer_bytes);
    EXPECT_EQ(long_file + " is longer than 1000000 bytes; only those are used", std::string(message));
    free_module(&module);
}

TEST(ModuleFile, UsersAreToldOfTheFileNotOfTheLoader)
{
    const std::string shown = module_refusal_for_users("pt_takemod error: unknown module type!");
    EXPECT_EQ(shown.find("pt_takemod"), std::string::npos) << shown;
    EXPECT_NE(shown.find("not a module this player knows"), std::string::npos) << shown;
    // Reasons that already speak of the file pass through unchanged.
    const char* other = "the patterns reach beyond the end of the file";
    EXPECT_EQ(module_refusal_for_users(other), other);
}
