// Reading the numbers, flags and separators of SVG attribute micro-syntaxes
// (path data, point lists, transform lists, lengths).
#pragma once

#include <cstddef>
#include <string_view>

struct NumberScanner {
    std::string_view text;
    std::size_t position = 0;
};

// Skips white space and at most one comma (with white space around it).
void skip_separators(NumberScanner& scanner);
void skip_spaces(NumberScanner& scanner);
bool at_end(NumberScanner& scanner);   // after skipping separators
// Reads one number in SVG's grammar ("-1.5e3", ".5", "1.5.5" is two numbers).
bool read_number(NumberScanner& scanner, double& value);
// An arc flag is a single "0" or "1", which may be followed directly by the next number.
bool read_flag(NumberScanner& scanner, bool& flag);
// Parses a whole attribute as one number with an optional "px" unit.
bool parse_length(std::string_view text, double& value);
