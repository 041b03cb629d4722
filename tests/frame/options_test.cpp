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

}  // namespace
