// The text score: song title, restart position, order list and patterns, one
// line a row and one column a channel.
//
//   title   da wobble
//   restart 0
//   order   intro groove groove break
//
//   pattern intro
//   00 | C-2 05 F06 | ... .. ... | C-3 01 ... | ... .. ... |
//   01 | ...
//
// A cell is a note ("C-2", "F#3"; "..." or "---" for none), a sample number
// ("01".."31"; ".." or "--" for none) and an effect as three hex digits,
// command and parameter ("A04"; "..." or "---" for none). A blank cell is empty.
// Every pattern has rows 00 to 63, numbered in order.
#pragma once

#include "settings.h"
#include "text_lines.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace compose {

constexpr int channels = 4;
constexpr int rows_per_pattern = 64;
constexpr int max_orders = 128;
constexpr int max_patterns = 128;

struct Cell {
    int note = -1;       // note index 12..83, -1 = none
    int sample = 0;      // 1..31, 0 = none
    int command = 0;     // 0..15
    int parameter = 0;   // 0..255
};

struct Pattern {
    std::string name;
    int line = 0;                                    // of the "pattern" line
    int rows = 0;                                    // rows read so far
    std::array<int, rows_per_pattern> row_lines{};   // line of each row, for messages
    std::array<std::array<Cell, channels>, rows_per_pattern> cells{};
};

struct Song {
    std::string title;
    int restart = 0;
    int order_line = 0;              // of the first "order" line, for messages
    std::vector<int> orders;         // pattern numbers, in play order
    std::vector<Pattern> patterns;   // numbered by first appearance in the order list
};

// Parses and checks the score against the samples the settings describe.
// Mistakes go into diags with their line and column.
Song parse_score(std::string_view text, std::string_view file, const SampleSet& samples, Diagnostics& diags);

}   // namespace compose
