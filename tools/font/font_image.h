// The raw font image the demo loads: three frames of 320 x 128 pixels one above the
// other, each holding the 38 glyphs in cells of 32 x 32, ten cells to a row.
#pragma once

#include "font_raster.h"

#include <cstddef>

inline constexpr int image_width = 320;
inline constexpr int frame_height = 128;
inline constexpr int cells_per_row = 10;
inline constexpr int cell_pitch = 32;
inline constexpr std::size_t image_size = image_width * frame_height * frame_count;   // 122880

using FontImage = std::array<std::uint8_t, image_size>;

// Byte offset of pixel (column, row) of a glyph in a frame.
std::size_t glyph_pixel_offset(int glyph, int frame, int column, int row);

void place_glyph(const GlyphCell& cell, int glyph, int frame, FontImage& image);

// Draws every glyph in every frame; pixels outside the glyphs stay transparent. On a
// fault error names the glyph and frame.
bool build_font_image(const FontSource& source, FontImage& image, std::string& error);

bool write_font_image(const FontImage& image, const std::string& path, std::string& error);
