// Each of the demo's fourteen data files damaged in turn, the real program run on the
// damaged copy. It must never crash, hang or trip a sanitizer; a missing or unreadable
// file must end it with status 1 and one line naming the file; any other damage either
// loads (the program is still playing when stopped) or is refused the same way.
#include "common/scratch_folder.h"
#include "damage.h"
#include "demo_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <ostream>
#include <vector>

namespace {

const char* const data_files[] = {
    "groovster.txt", "afrogirl.txt", "wobbli.cgm",  "zippsy.cgm",     "ankels.cgm",
    "flonk1.cgm",    "flonk2.cgm",   "strutto.cgm", "struttoblk.cgm", "bottles.cgm",
    "blinq.cgm",     "blinq2.cgm",   "fontti.raw",  "da_wobble.mod",
};

constexpr Damage all_damages[] = {
    Damage::missing,        Damage::unreadable,  Damage::empty,         Damage::cut_to_16_bytes,
    Damage::cut_to_quarter, Damage::cut_to_half, Damage::last_byte_cut, Damage::random_bytes,
};

struct HostileCase {
    std::string file;
    Damage damage;
    // Printed in the test's listing as "<file> <damage>".
    friend void PrintTo(const HostileCase& c, std::ostream* out)
    {
        *out << c.file << " " << damage_name(c.damage);
    }
};

std::vector<HostileCase> every_case()
{
    std::vector<HostileCase> cases;
    for (const char* file : data_files)
        for (Damage damage : all_damages)
            cases.push_back({file, damage});
    return cases;
}

const std::string source_data = std::string(TK_SOURCE_DIR) + "/data";

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

bool sanitizer_spoke(const std::string& errors)
{
    return errors.find("Sanitizer") != std::string::npos ||
           errors.find("runtime error:") != std::string::npos;
}

// What every run must satisfy, whatever the damage.
void expect_no_crash(const DemoRun& run)
{
    EXPECT_FALSE(run.signalled) << "killed by signal " << run.signal_number << "\n" << run.errors;
    EXPECT_FALSE(sanitizer_spoke(run.errors)) << run.errors;
}

void expect_refused_naming(const DemoRun& run, const std::string& file)
{
    EXPECT_FALSE(run.still_running) << "the damaged " << file << " was not refused";
    EXPECT_EQ(run.exit_status, 1) << run.errors;
    const std::vector<std::string> lines = lines_of(run.errors);
    ASSERT_EQ(lines.size(), 1u) << run.errors;
    EXPECT_NE(lines[0].find("data/" + file), std::string::npos) << lines[0];
}

TEST(HostileData, IntactDataLoadsAndPlays)
{
    const ScratchFolder folder("hostile");
    intact_copy(source_data, folder.path);
    const DemoRun run = run_demo(TK_DEMO_PROGRAM, folder.path, TK_HOSTILE_SECONDS);
    expect_no_crash(run);
    EXPECT_TRUE(run.still_running) << "status " << run.exit_status << "\n" << run.errors;
    EXPECT_TRUE(lines_of(run.errors).empty()) << run.errors;
}

class DamagedFile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(DamagedFile, NeverCrashesAndNamesWhatItRefuses)
{
    const std::string& file = GetParam().file;
    const Damage damage = GetParam().damage;
    const ScratchFolder folder("hostile");
    damaged_copy(source_data, folder.path, file, damage);
    const DemoRun run = run_demo(TK_DEMO_PROGRAM, folder.path, TK_HOSTILE_SECONDS);

    expect_no_crash(run);
    if (damage == Damage::missing || damage == Damage::unreadable || !run.still_running)
        expect_refused_naming(run, file);
    else
        EXPECT_TRUE(lines_of(run.errors).empty()) << run.errors;
}

std::string case_name(const ::testing::TestParamInfo<DamagedFile::ParamType>& info)
{
    std::string name = info.param.file + "_" + damage_name(info.param.damage);
    for (char& c : name)
        if (c == '.')
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryFile, DamagedFile, ::testing::ValuesIn(every_case()), case_name);

}   // namespace
