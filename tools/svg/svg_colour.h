// SVG paint values: "none", "#rgb", "#rrggbb", "rgb(r, g, b)" (numbers or percentages),
// "currentColor" and the common colour keywords.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

enum class PaintKind { none, colour, current_colour };

struct Paint {
    PaintKind kind = PaintKind::none;
    Colour colour;
};

// False with a message for values this converter cannot draw (gradients, patterns,
// unknown names, malformed numbers).
bool parse_paint(std::string_view text, Paint& paint, std::string& error);
bool parse_colour(std::string_view text, Colour& colour, std::string& error);
std::string colour_hex(Colour colour);
