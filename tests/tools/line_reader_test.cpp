// The tools' one line reader and their one test of a file name's ending.
#include "line_reader.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

using Lines = std::vector<std::string_view>;

TEST(LineReader, LinesAreNumberedByTheirPlaceWhateverTheEnding)
{
    EXPECT_EQ(split_lines(""), Lines{});
    EXPECT_EQ(split_lines("\n"), Lines{""});
    EXPECT_EQ(split_lines("a\n\nb"), (Lines{"a", "", "b"}));
    // A final line feed closes the last line and opens none; a carriage return stays.
    EXPECT_EQ(split_lines("a\r\nb\n"), (Lines{"a\r", "b"}));
}

TEST(LineReader, EndingsMatchInAnyCaseAfterANameOfTheirOwn)
{
    EXPECT_TRUE(has_suffix("ankels.cgm", ".cgm"));
    EXPECT_TRUE(has_suffix("OUT.TXT", ".txt"));
    EXPECT_FALSE(has_suffix(".cgm", ".cgm"));
    EXPECT_FALSE(has_suffix("ankels.cgm.png", ".cgm"));
    EXPECT_FALSE(has_suffix("cgm", ".cgm"));
}
