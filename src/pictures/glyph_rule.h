// The caption font's characters and the rule by which a glyph pixel lands on a frame,
// shared by the demo's captions and the tool that draws the font.
#pragma once

#include <cstdint>
#include <cstring>

// The characters that have a glyph, in glyph-number order.
inline constexpr char glyph_characters[] = "abcdefghijklmnopqrstuvwxyz1234567890!'";

// The two glyph pixel values with a meaning of their own; any other value is shade.
inline constexpr std::uint8_t glyph_ink = 0;
inline constexpr std::uint8_t glyph_transparent = 255;

// The glyph number of a character, or -1 when it has none (the terminating NUL of
// the set included).
inline std::int32_t glyph_number(char character)
{
    if (character == '\0')
        return -1;
    const char* found = std::strchr(glyph_characters, character);
    return found ? static_cast<std::int32_t>(found - glyph_characters) : -1;
}

// Ink takes the colour; shade sets bit 7 of the index beneath, the half-tinted twin of
// its colour; transparent leaves it.
inline void draw_glyph_pixel(std::uint8_t* target, std::uint8_t source, std::uint8_t colour)
{
    if (source == glyph_ink)
        *target = colour;
    else if (source != glyph_transparent)
        *target |= 0x80;
}
