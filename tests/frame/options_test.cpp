#include "frame/demo_options.h"
#include "frame/startup.h"

#include <gtest/gtest.h>

namespace {

bool windowed(std::initializer_list<const char*> args)
{
    std::vector<const char*> argv(args);
    return runs_windowed(static_cast<int>(argv.size()), argv.data());
}

TEST(WindowRule, DashWAsSecondArgumentAsksForAWindow)
{
    EXPECT_TRUE(windowed({"tinkettles", "-w"}));
    EXPECT_TRUE(windowed({"tinkettles", "-w", "extra"}));
    EXPECT_FALSE(windowed({"tinkettles"}));
    EXPECT_FALSE(windowed({"tinkettles", "-W"}));
    EXPECT_FALSE(windowed({"tinkettles", "--w"}));
    EXPECT_FALSE(windowed({"tinkettles", "-wx"}));
    EXPECT_FALSE(windowed({"tinkettles", "x", "-w"}));
}

TEST(WindowRule, AProgramNameEndingInLowerCaseWAsksForAWindow)
{
    EXPECT_TRUE(windowed({"./tinkettlesw"}));
    EXPECT_TRUE(windowed({"w"}));
    EXPECT_FALSE(windowed({"./tinkettlesW"}));
    EXPECT_FALSE(windowed({""}));
    EXPECT_FALSE(windowed({}));
}

}   // namespace

namespace {

struct Parsed {
    DemoCommand command;
    DemoOptions options;
};

Parsed parse(std::initializer_list<const char*> args)
{
    std::vector<const char*> argv(args);
    Parsed parsed{};
    // A refused command line names its fault on standard error; keep the test log clean.
    ::testing::internal::CaptureStderr();
    parsed.command = parse_demo_options(static_cast<int>(argv.size()), argv.data(), &parsed.options);
    ::testing::internal::GetCapturedStderr();
    return parsed;
}

TEST(DemoOptions, NoArgumentsPlayTheWholeDemoFullScreenFromSearchedData)
{
    const Parsed p = parse({"tinkettles"});
    ASSERT_EQ(p.command, DemoCommand::run);
    EXPECT_FALSE(p.options.windowed);
    EXPECT_EQ(p.options.data_folder, nullptr);
    EXPECT_EQ(p.options.from, -1);
    EXPECT_EQ(p.options.to, 2500);
    EXPECT_FALSE(p.options.calm);
}

TEST(DemoOptions, CalmIsAChoiceBesideTheOthers)
{
    const Parsed p = parse({"tinkettles", "-w", "--calm", "--from", "700"});
    ASSERT_EQ(p.command, DemoCommand::run);
    EXPECT_TRUE(p.options.calm);
    EXPECT_TRUE(p.options.windowed);
    EXPECT_EQ(p.options.from, 700);
    EXPECT_EQ(parse({"tinkettles", "--calm", "--calm"}).command, DemoCommand::usage_error);
}

TEST(DemoOptions, WindowChoiceKeepsItsMeaningBesideTheOtherOptions)
{
    EXPECT_TRUE(parse({"tinkettles", "-w"}).options.windowed);
    EXPECT_TRUE(parse({"tinkettles", "--from", "700", "-w"}).options.windowed);
    EXPECT_TRUE(parse({"/usr/games/tinkettlesw", "--data", "/d"}).options.windowed);
    const Parsed p = parse({"tinkettles", "--data", "/x/y", "--from", "1532", "--to", "1800"});
    ASSERT_EQ(p.command, DemoCommand::run);
    EXPECT_FALSE(p.options.windowed);
    EXPECT_STREQ(p.options.data_folder, "/x/y");
    EXPECT_EQ(p.options.from, 1532);
    EXPECT_EQ(p.options.to, 1800);
    EXPECT_FALSE(p.options.maker);
}

TEST(DemoOptions, MakerModeOpensAWindowAndKeepsThePart)
{
    const Parsed p = parse({"tinkettles", "--maker", "--from", "1500", "--to", "1800"});
    ASSERT_EQ(p.command, DemoCommand::run);
    EXPECT_TRUE(p.options.maker);
    EXPECT_TRUE(p.options.windowed);
    EXPECT_EQ(p.options.from, 1500);
    EXPECT_EQ(p.options.to, 1800);
}

TEST(DemoOptions, HelpAndVersionWinOverEverythingAroundThem)
{
    EXPECT_EQ(parse({"tinkettles", "--help"}).command, DemoCommand::help);
    EXPECT_EQ(parse({"tinkettles", "-w", "--from", "99999", "--help"}).command, DemoCommand::help);
    EXPECT_EQ(parse({"tinkettles", "--version"}).command, DemoCommand::version);
    EXPECT_EQ(parse({"tinkettlesw", "--version", "-w"}).command, DemoCommand::version);
}

TEST(DemoOptions, AnythingElseIsAUsageError)
{
    const std::initializer_list<const char*> wrong[] = {
        {"tinkettles", "--bogus"},
        {"tinkettles", "-W"},
        {"tinkettles", "x"},
        {"tinkettles", "-w", "x"},
        {"tinkettles", "--data"},
        {"tinkettles", "--from"},
        {"tinkettles", "--data", "a", "--data", "b"},
        {"tinkettles", "--from", "100", "--from", "200"},
        {"tinkettles", "--from", "800", "--to", "800"},   // ends before it starts
        {"tinkettles", "--from", "2400", "--to", "900"},
        {"tinkettles", "--to", "0"},
        {"tinkettles", "--to", "2501"},   // beyond the demo's end
        {"tinkettles", "--from", "2500"},
    };
    for (const auto& args : wrong)
        EXPECT_EQ(parse(args).command, DemoCommand::usage_error) << *(args.begin() + 1);
}

TEST(MusicPositionArgument, OrderTimesHundredPlusARowOfAPattern)
{
    std::int32_t position = -5;
    EXPECT_TRUE(parse_music_position("0", &position));
    EXPECT_EQ(position, 0);
    EXPECT_TRUE(parse_music_position("1563", &position));
    EXPECT_EQ(position, 1563);
    EXPECT_TRUE(parse_music_position("012763", &position));   // order 127, row 63
    EXPECT_EQ(position, 12763);
    for (const char* wrong : {"", "64", "1564", "1599", "12800", "99999999999", "-100", "+100", "15 00",
                              "1500x", "0x10", " 100"}) {
        position = 7;
        EXPECT_FALSE(parse_music_position(wrong, &position)) << "'" << wrong << "'";
        EXPECT_EQ(position, 7) << "'" << wrong << "'";
    }
}

}   // namespace
