// Reading the text sources: lines, words with their columns, numbers, and the
// error list that every mistake goes into with its line and column.
#pragma once

#include "diagnostics.h"
#include "line_reader.h"   // split_lines

#include <string>
#include <string_view>
#include <vector>

namespace compose {

// A word of a line and the 1-based column of its first character.
struct Word {
    std::string_view text;
    int column;
};

// The text of a line without its comment (from a '#' at the start or after a
// blank) and without trailing blanks or carriage return.
std::string_view strip_comment(std::string_view line);
// Splits the text into words separated by blanks or tabs; column_base is the
// 1-based column of text[0] in its line.
std::vector<Word> split_words(std::string_view text, int column_base = 1);

bool parse_int(std::string_view text, int& value);
bool parse_double(std::string_view text, double& value);
bool parse_hex(std::string_view text, int& value);

}   // namespace compose
