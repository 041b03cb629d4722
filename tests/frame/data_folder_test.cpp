// The data folder search on real folders: which place wins, what is refused, the paths
// the demo then opens, and the demo's data loaded from a folder elsewhere.
#include "common/scratch_folder.h"
#include "frame/data_folder.h"
#include "frame/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>

namespace fs = std::filesystem;

namespace {

// Each test runs in a fresh working directory of its own, with the folders it makes.
class DataSearchTest : public ::testing::Test {
protected:
    const ScratchFolder scratch{"data-search"};
    const fs::path root = scratch.path;
    fs::path old_directory;
    void SetUp() override
    {
        old_directory = fs::current_path();
        fs::create_directories(root / "work");
        fs::current_path(root / "work");
    }
    void TearDown() override
    {
        fs::current_path(old_directory);
        std::snprintf(data_folder.path, sizeof data_folder.path, "data");
        program_name = "tinkettles";
    }
    fs::path make_folder(const fs::path& path)
    {
        fs::create_directories(path);
        return path;
    }
    // A folder holding the fourteen data files (empty ones: the search only looks for
    // them), but for those named in `left_out`.
    fs::path make_data_folder(const fs::path& path, std::initializer_list<std::string> left_out = {})
    {
        make_folder(path);
        for (const char* name : demo_data_files)
            if (std::find(left_out.begin(), left_out.end(), name) == left_out.end())
                std::fclose(std::fopen((path / name).c_str(), "w"));
        return path;
    }
    // The search with its message captured; the found folder's path, or "" when none.
    std::string search(const char* option, const char* environment, const std::string& exe)
    {
        DataFolder found{};
        ::testing::internal::CaptureStderr();
        const bool ok = find_data_folder({option, environment, exe.empty() ? nullptr : exe.c_str()}, &found);
        message = ::testing::internal::GetCapturedStderr();
        if (!ok)
            return "";
        source = found.source;
        return found.path;
    }
    std::string message;
    DataSource source{};
};

TEST_F(DataSearchTest, EachPlaceIsTriedInTurn)
{
    const std::string option = make_folder(root / "chosen").string();
    const std::string environment = make_folder(root / "env").string();
    const std::string exe = (make_folder(root / "prefix" / "bin") / "tinkettles").string();
    make_data_folder(root / "prefix" / "share" / "tinkettles" / "data");
    make_data_folder("data");

    EXPECT_EQ(search(option.c_str(), environment.c_str(), exe), option);
    EXPECT_EQ(source, DataSource::option);
    EXPECT_EQ(search(nullptr, environment.c_str(), exe), environment);
    EXPECT_EQ(source, DataSource::environment);
    // An empty variable is no choice.
    EXPECT_EQ(search(nullptr, "", exe), "data");
    EXPECT_EQ(source, DataSource::working_directory);
    fs::remove_all("data");
    EXPECT_EQ(search(nullptr, nullptr, exe), (root / "prefix/share/tinkettles/data").string());
    EXPECT_EQ(source, DataSource::installed);
    EXPECT_TRUE(message.empty()) << message;
}

TEST_F(DataSearchTest, AFolderTheUserNamedIsUsedOrRefusedButNeverPassedOver)
{
    make_folder("data");
    const std::string missing = (root / "nowhere").string();
    EXPECT_EQ(search(missing.c_str(), nullptr, ""), "");
    EXPECT_NE(message.find("tinkettles: --data " + missing + ": No such file or directory"),
              std::string::npos)
        << message;
    EXPECT_EQ(search(nullptr, missing.c_str(), ""), "");
    EXPECT_NE(message.find("TINKETTLES_DATA=" + missing), std::string::npos) << message;
    // A file is not a folder.
    const std::string file = (root / "work" / "data" / "plain").string();
    std::fclose(std::fopen(file.c_str(), "w"));
    EXPECT_EQ(search(file.c_str(), nullptr, ""), "");
    EXPECT_NE(message.find("Not a directory"), std::string::npos) << message;
    // Trailing slashes go, so that file names get exactly one.
    const std::string slashed = (root / "work" / "data").string() + "//";
    EXPECT_EQ(search(slashed.c_str(), nullptr, ""), (root / "work" / "data").string());
}

TEST_F(DataSearchTest, NoFolderAnywhereIsOneLineWithTheWayOut)
{
    const std::string exe = (make_folder(root / "prefix" / "bin") / "tinkettles").string();
    program_name = "tinkettles-capture";
    EXPECT_EQ(search(nullptr, nullptr, exe), "");
    EXPECT_EQ(message.find("tinkettles-capture: "), 0u) << message;
    EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
    EXPECT_NE(message.find((root / "prefix/share/tinkettles/data").string()), std::string::npos) << message;
    EXPECT_NE(message.find("folder that holds data/"), std::string::npos) << message;
    EXPECT_NE(message.find("--data DIR"), std::string::npos) << message;
}

// A data/ folder in the working directory is common in a home: it counts only when it
// holds the demo's files, else the installed data are used.
TEST_F(DataSearchTest, AnIncompleteDataFolderIsPassedOver)
{
    const std::string exe = (make_folder(root / "prefix" / "games") / "tinkettles").string();
    const std::string installed = make_data_folder(root / "prefix/share/tinkettles/data").string();
    make_folder("data");
    EXPECT_EQ(search(nullptr, nullptr, exe), installed);
    make_data_folder("data", {"da_wobble.mod"});   // thirteen of the fourteen
    EXPECT_EQ(search(nullptr, nullptr, exe), installed);
    fs::remove("data/ankels.cgm");
    fs::create_directory("data/ankels.cgm");   // a folder by a data file's name
    fs::copy_file(root / "prefix/share/tinkettles/data/da_wobble.mod", "data/da_wobble.mod");
    EXPECT_EQ(search(nullptr, nullptr, exe), installed);
    EXPECT_EQ(source, DataSource::installed);
    EXPECT_TRUE(message.empty()) << message;
}

TEST_F(DataSearchTest, TheFailureNamesEveryPlaceAndWhatItLacked)
{
    const std::string exe = (make_folder(root / "prefix" / "bin") / "tinkettles").string();
    const fs::path installed =
        make_data_folder(root / "prefix/share/tinkettles/data", {"fontti.raw", "blinq2.cgm"});
    make_folder("data");
    std::fclose(std::fopen("data/notes.txt", "w"));   // something else entirely
    EXPECT_EQ(search(nullptr, nullptr, exe), "");
    EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
    EXPECT_NE(message.find("data holds none of the data files"), std::string::npos) << message;
    EXPECT_NE(message.find((installed / "blinq2.cgm").string() + ", " + (installed / "fontti.raw").string() +
                           " are missing"),
              std::string::npos)
        << message;
    // One file missing in the working directory is named by the path the demo would open.
    make_data_folder("data", {"groovster.txt"});
    fs::remove_all(installed);
    EXPECT_EQ(search(nullptr, nullptr, exe), "");
    EXPECT_NE(message.find("data/groovster.txt is missing; no folder " + installed.string()),
              std::string::npos)
        << message;
}

TEST(InstalledDataFolder, BesideTheExecutablesFolder)
{
    char out[64];
    ASSERT_TRUE(installed_data_folder("/usr/bin/tinkettles", out, sizeof out));
    EXPECT_STREQ(out, "/usr/share/tinkettles/data");
    ASSERT_TRUE(installed_data_folder("/opt/tk/games/tinkettlesw", out, sizeof out));
    EXPECT_STREQ(out, "/opt/tk/share/tinkettles/data");
    ASSERT_TRUE(installed_data_folder("/tinkettles", out, sizeof out));
    EXPECT_STREQ(out, "/share/tinkettles/data");
    ASSERT_TRUE(installed_data_folder("./tinkettles", out, sizeof out));
    EXPECT_STREQ(out, "./../share/tinkettles/data");
    ASSERT_TRUE(installed_data_folder("../b/tinkettles", out, sizeof out));
    EXPECT_STREQ(out, "../b/../share/tinkettles/data");
    EXPECT_FALSE(installed_data_folder("tinkettles", out, sizeof out));
    EXPECT_FALSE(installed_data_folder(nullptr, out, sizeof out));
    // "/usr/share/tinkettles/data" and its zero need 27 bytes.
    EXPECT_FALSE(installed_data_folder("/usr/bin/tinkettles", out, 26));
    EXPECT_TRUE(installed_data_folder("/usr/bin/tinkettles", out, 27));
}

TEST_F(DataSearchTest, FileNamesKeepTheirFormInTheWorkingDirectoryAndMoveWithTheFolder)
{
    char path[40];
    ASSERT_TRUE(data_file_path("data/ankels.cgm", path, sizeof path));
    EXPECT_STREQ(path, "data/ankels.cgm");
    std::snprintf(data_folder.path, sizeof data_folder.path, "/srv/tk");
    ASSERT_TRUE(data_file_path("data/da_wobble.mod", path, sizeof path));
    EXPECT_STREQ(path, "/srv/tk/da_wobble.mod");
    EXPECT_FALSE(data_file_path("data/da_wobble.mod", path, 21));   // needs 22 with its zero
}

// Each load keeps what it loaded for the whole run, so each test loads once.
TEST_F(DataSearchTest, TheDemoDataLoadFromAFolderOutsideTheWorkingDirectory)
{
    // The working directory holds no data/: only the search's choice can work.
    const fs::path folder = fs::path(TK_SOURCE_DIR) / "data";
    ASSERT_EQ(search(folder.c_str(), nullptr, ""), folder.string());
    std::snprintf(data_folder.path, sizeof data_folder.path, "%s", folder.c_str());
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(load_demo_data());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(DataSearchTest, AMissingFileIsNamedByThePathOpened)
{
    const fs::path partial = make_folder(root / "partial");
    fs::copy(fs::path(TK_SOURCE_DIR) / "data", partial);
    fs::remove(partial / "groovster.txt");
    std::snprintf(data_folder.path, sizeof data_folder.path, "%s", partial.c_str());
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(load_demo_data());
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("tinkettles: " + (partial / "groovster.txt").string() + ": "), 0u) << errors;
    EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
}

}   // namespace
