// Whether the song reaches order 25, where the demo ends (a warning when it cannot),
// and one mistake giving one error rather than one for every line after it.
#include "compose_fixtures.h"

using compose_test::compile;
using compose_test::first_error;
using compose_test::one_pattern;
using compose_test::two_samples;

namespace {

constexpr int demo_end = 25;

// Patterns a (empty) and b (the given rows), played in the given order.
std::string two_patterns(const std::string& order, const std::map<int, std::string>& b_rows)
{
    std::string text = "title t\norder " + order + "\n";
    for (const char* name : {"a", "b"}) {
        text += std::string("pattern ") + name + "\n";
        for (int r = 0; r < 64; ++r) {
            char number[4];
            std::snprintf(number, sizeof number, "%02d", r);
            const auto found = b_rows.find(r);
            text += number +
                    (name[0] == 'b' && found != b_rows.end() ? found->second : std::string(" | | | | |")) +
                    "\n";
        }
    }
    return text;
}

std::string repeated(const char* name, int count)
{
    std::string list;
    for (int i = 0; i < count; ++i)
        list += std::string(i ? " " : "") + name;
    return list;
}

bool warns_of_no_end(const std::string& score)
{
    Diagnostics diags;
    compose::compose_module({score, "end.score"}, {two_samples, "end.samples"}, diags, demo_end);
    EXPECT_TRUE(diags.errors.empty()) << diags.errors.front().message;
    for (const Diagnostic& warning : diags.warnings)
        if (warning.message.find("never reaches order 25") != std::string::npos) {
            EXPECT_EQ(warning.line, 2);   // the order line
            EXPECT_NE(warning.message.find("at least 26 entries"), std::string::npos) << warning.message;
            return true;
        }
    return false;
}

}   // namespace

TEST(ComposeSongEnd, ASongThatCannotReachOrder25IsWarnedOf)
{
    // Too short: past its last order the song goes back to its restart position.
    EXPECT_TRUE(warns_of_no_end(two_patterns("a b", {})));
    EXPECT_TRUE(warns_of_no_end(two_patterns(repeated("a", 24) + " b", {})));
    EXPECT_FALSE(warns_of_no_end(two_patterns(repeated("a", 25) + " b", {})));
    // Long enough, but a jump at order 24 leads back to order 0 every time.
    EXPECT_TRUE(warns_of_no_end(two_patterns(repeated("a", 24) + " b a a", {{63, " | ... .. B00 | | | |"}})));
    // A jump forward past 24 ends it early; a jump past the list wraps to the start.
    EXPECT_FALSE(warns_of_no_end(two_patterns("a b " + repeated("a", 28), {{10, " | ... .. B19 | | | |"}})));
    EXPECT_TRUE(warns_of_no_end(two_patterns("a b a", {{10, " | ... .. B19 | | | |"}})));
    // A pattern loop on the last order repeats rows a while, then goes on.
    EXPECT_FALSE(warns_of_no_end(two_patterns(
        repeated("a", 24) + " b a", {{0, " | ... .. E60 | | | |"}, {63, " | ... .. E6F | | | |"}})));
    // Without an end to check for, nothing is said.
    Diagnostics diags;
    compose::compose_module({one_pattern({}), "t"}, {two_samples, "s"}, diags);
    EXPECT_TRUE(diags.warnings.empty());
}

TEST(ComposeErrors, OneMistakeGivesOneError)
{
    const auto count = [](const compose_test::Compiled& c) { return c.diags.errors.size(); };

    // A row left out: the rows after it keep their own numbers.
    std::string missing = one_pattern({});
    missing.erase(missing.find("05 |"), missing.find("06 |") - missing.find("05 |"));
    auto left_out = compile(missing);
    EXPECT_EQ(count(left_out), 1u) << first_error(left_out);
    EXPECT_EQ(first_error(left_out), "9:1: expected row number 05 here; row 05 is missing");

    // A row given twice is left out once.
    std::string doubled = one_pattern({});
    doubled.insert(doubled.find("11 |"), "10 | | | | |\n");
    auto twice = compile(doubled);
    EXPECT_EQ(count(twice), 1u) << first_error(twice);

    // A refused pattern line, and a second pattern of the same name: not one more
    // error for each of their rows.
    std::string nameless = one_pattern({});
    nameless.replace(nameless.find("pattern a"), 9, "pattern");
    EXPECT_EQ(count(compile(nameless)), 2u);   // the line, and the order's unknown 'a'
    auto same_name = compile(one_pattern({}) + one_pattern({}).substr(one_pattern({}).find("pattern a")));
    EXPECT_EQ(count(same_name), 1u) << first_error(same_name);

    // A sample the settings lack, used on ten rows.
    std::map<int, std::string> uses;
    for (int r = 0; r < 10; ++r)
        uses[r] = " | C-2 05 ... | | | |";
    auto unknown = compile(one_pattern(uses));
    EXPECT_EQ(count(unknown), 1u) << first_error(unknown);
    EXPECT_EQ(first_error(unknown).rfind("4:10: unknown sample '05'", 0), 0u) << first_error(unknown);

    // Rows past 64.
    auto long_pattern = compile(one_pattern({}) + "64 | | | | |\n65 | | | | |\n66 | | | | |\n");
    EXPECT_EQ(count(long_pattern), 1u) << first_error(long_pattern);

    // Settings under a refused sample line.
    auto settings =
        compile(one_pattern({}), std::string(two_samples) + "sample 40 extra\n  kind kick\n  decay 0.1\n");
    EXPECT_EQ(count(settings), 1u) << first_error(settings);
}
