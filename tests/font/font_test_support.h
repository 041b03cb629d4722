// Sources shared by the font tests: a valid style and a glyph for every character.
#pragma once

#include "common/files.h"
#include "common/scratch_folder.h"

#include <cstdint>
#include <filesystem>
#include <string>

// A complete style with one guide, used where a test needs any valid style.
inline const char* const minimal_style =
    "pen 1.5\noutline 1\nguide base 21.5\n"
    "frame 0 0 2 2\nframe 1 -2 2 3\nframe 2 2 2 1\n";

// A glyph definition for every character of the font, one dot each at a different
// place, so that every glyph differs.
inline std::string dots_for_every_glyph(const std::string& skip = "")
{
    const std::string characters = "abcdefghijklmnopqrstuvwxyz1234567890!'";
    std::string text;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (skip.find(characters[i]) != std::string::npos) {
            continue;
        }
        text += std::string("glyph ") + characters[i] + "\ndot " + std::to_string(4 + i % 19) + " " +
                std::to_string(8 + i / 19 * 10) + "\n";
    }
    return text;
}
