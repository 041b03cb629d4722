// The seven tools run as a user runs them, each in a scratch folder: help on standard
// output with status 0, the version, an unknown option refused with the usage and
// status 2, and a file that cannot be made named with the system's reason.
#include "common/program_run.h"
#include "common/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Tool {
    const char* name;
    const char* folder;       // under the build's tools/
    const char* unwritable;   // arguments whose output lies in a missing folder
};

// Every output goes to /nonexistent-tk/..., a folder that no test makes.
const Tool tools[] = {
    {"tinkettles-music", "music", "--seconds 1 data/da_wobble.mod /nonexistent-tk/out.wav"},
    {"tinkettles-compose", "compose",
     "assets/music/da_wobble.score assets/music/da_wobble.samples /nonexistent-tk/out.mod"},
    {"tinkettles-svg", "svg", "assets/pictures/flonk1.svg /nonexistent-tk/out.cgm"},
    {"tinkettles-picture-sheet", "preview", "data /nonexistent-tk/out.png"},
    {"tinkettles-font", "font", "assets/font /nonexistent-tk/out.raw"},
    {"tinkettles-preview", "preview", "data/flonk1.cgm /nonexistent-tk/out.png"},
    {"tinkettles-capture", "capture", "--fps 1 --log /nonexistent-tk/out.log"},
};

void PrintTo(const Tool& tool, std::ostream* out)
{
    *out << tool.name;
}

class ToolCommandLine : public ::testing::TestWithParam<Tool> {
protected:
    // Runs the tool with `arguments` in `folder` (the scratch folder unless named).
    ProgramRun run_tool(const std::string& arguments, const std::string& folder = "") const
    {
        const std::string program =
            std::string(TK_TOOL_FOLDER) + "/" + GetParam().folder + "/" + GetParam().name;
        return run_program("'" + program + "' " + arguments, folder.empty() ? scratch : fs::path(folder));
    }

    const ScratchFolder scratch_folder{"tools"};
    const fs::path scratch = scratch_folder.path;
};

TEST_P(ToolCommandLine, HelpAndVersionGoToStandardOutput)
{
    const std::string name = GetParam().name;
    const ProgramRun help = run_tool("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: " + name + " ", 0), 0u) << help.out;
    EXPECT_EQ(help.errors, "");
    // --help wins wherever it stands, and writes nothing else.
    const ProgramRun late = run_tool("a b --help");
    EXPECT_EQ(late.status, 0);
    EXPECT_EQ(late.out, help.out);
    EXPECT_TRUE(fs::is_empty(scratch)) << "a file was made";

    const ProgramRun version = run_tool("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, name + " " TINKETTLES_VERSION "\n");
}

TEST_P(ToolCommandLine, AnUnknownOptionIsRefusedWithTheUsage)
{
    const std::string name = GetParam().name;
    for (const char* arguments : {"--no-such-option a b", "-x a b"}) {
        const ProgramRun refused = run_tool(arguments);
        EXPECT_EQ(refused.status, 2) << arguments;
        EXPECT_EQ(refused.errors.rfind(name + ": unknown option -", 0), 0u) << refused.errors;
        EXPECT_NE(refused.errors.find("\nusage: " + name + " "), std::string::npos) << refused.errors;
        EXPECT_EQ(refused.out, "");
    }
    EXPECT_TRUE(fs::is_empty(scratch)) << "a file was made";
}

TEST_P(ToolCommandLine, AnOutputThatCannotBeMadeIsNamedWithTheReason)
{
    const std::string name = GetParam().name;
    const ProgramRun failed = run_tool(GetParam().unwritable, TK_SOURCE_DIR);
    EXPECT_EQ(failed.status, 1);
    const std::size_t at = failed.errors.find(name + ": cannot create /nonexistent-tk/out.");
    ASSERT_NE(at, std::string::npos) << failed.errors;
    EXPECT_TRUE(at == 0 || failed.errors[at - 1] == '\n') << failed.errors;
    EXPECT_NE(failed.errors.find(": No such file or directory\n", at), std::string::npos) << failed.errors;
}

INSTANTIATE_TEST_SUITE_P(EveryTool, ToolCommandLine, ::testing::ValuesIn(tools),
                         [](const ::testing::TestParamInfo<Tool>& info) {
                             std::string name = info.param.name + std::string("tinkettles-").size();
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

}   // namespace
