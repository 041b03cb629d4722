// Draws one glyph frame into its 28 x 32 cell: ink where the pen passed, shade for the
// outline ring and the drop shadow, transparent elsewhere.
#pragma once

#include "font_strokes.h"
#include "pictures/glyph_rule.h"

inline constexpr int cell_width = 28;
inline constexpr int cell_height = 32;

// Pixel classes as the demo reads them: 0 is ink, 255 leaves the pixel beneath, and
// anything between shades it. The two shade values only tell the parts apart.
inline constexpr std::uint8_t ink_value = glyph_ink;
inline constexpr std::uint8_t outline_value = 1;
inline constexpr std::uint8_t shadow_value = 2;
inline constexpr std::uint8_t transparent_value = glyph_transparent;

struct GlyphCell {
    std::array<std::uint8_t, cell_width * cell_height> pixels;   // row by row
};

// Returns false, saying where, when ink or shade would fall outside the cell.
bool rasterize_glyph(const PenPath& path, const FontStyle& style, const FrameStyle& frame, GlyphCell& cell,
                     std::string& error);
