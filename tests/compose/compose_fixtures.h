// Small sources for the composer's tests: a two-sample settings text and a score
// builder that fills one pattern around the rows a test cares about.
#pragma once

#include "compose.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace compose_test {

inline const char* two_samples = R"(# a drum and a tone
sample 01 drum
  kind  kick
  note  C-3
  length 0.05
sample 17 tone
  kind   tone
  octave 4
  volume 40
  osc saw 0 1.0
  pre    0.02
  loop   0.05
)";

// A one-pattern score; rows named in `rows` replace the empty row of that number.
inline std::string one_pattern(const std::map<int, std::string>& rows, const std::string& head = "")
{
    std::string text = "title t\n" + head + "order a\npattern a\n";
    for (int r = 0; r < 64; ++r) {
        char number[4];
        std::snprintf(number, sizeof number, "%02d", r);
        auto found = rows.find(r);
        text +=
            std::string(number) +
            (found != rows.end() ? found->second : " | ... .. ... | ... .. ... | ... .. ... | ... .. ... |") +
            "\n";
    }
    return text;
}

struct Compiled {
    std::vector<std::uint8_t> module;
    Diagnostics diags;
};

inline Compiled compile(const std::string& score, const std::string& settings = two_samples)
{
    Compiled c;
    c.module = compose::compose_module({score, "test.score"}, {settings, "test.samples"}, c.diags);
    return c;
}

// The first error as "line:column: message".
inline std::string first_error(const Compiled& c)
{
    if (c.diags.errors.empty())
        return "no error";
    const Diagnostic& d = c.diags.errors.front();
    return std::to_string(d.line) + ":" + std::to_string(d.column) + ": " + d.message;
}

}   // namespace compose_test
