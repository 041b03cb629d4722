// The whole compilation: settings and score in, module bytes out.
#pragma once

#include "module_writer.h"
#include "text_lines.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace compose {

struct SourceText {
    std::string_view text;
    std::string_view file;   // name used in messages
};

// Synthesises every described sample; a sample too long for the format is an error.
SampleBank synthesise_bank(const SampleSet& specs, std::string_view settings_file, Diagnostics& diags);

// Returns the module, or nothing when diags holds errors. With an end_order of 0 or
// more, a song that can never reach that order position gets a warning.
std::vector<std::uint8_t> compose_module(SourceText score, SourceText settings, Diagnostics& diags,
                                         int end_order = -1);

}   // namespace compose
