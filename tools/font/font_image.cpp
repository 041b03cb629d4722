#include "font_image.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

std::size_t glyph_pixel_offset(int glyph, int frame, int column, int row)
{
    const std::size_t frame_start = static_cast<std::size_t>(frame) * image_width * frame_height;
    const std::size_t cell_row_start =
        static_cast<std::size_t>(glyph / cells_per_row) * image_width * cell_pitch;
    return frame_start + cell_row_start + static_cast<std::size_t>(row) * image_width +
           static_cast<std::size_t>(glyph % cells_per_row) * cell_pitch + static_cast<std::size_t>(column);
}

void place_glyph(const GlyphCell& cell, int glyph, int frame, FontImage& image)
{
    for (int row = 0; row < cell_height; ++row) {
        for (int column = 0; column < cell_width; ++column) {
            image[glyph_pixel_offset(glyph, frame, column, row)] = cell.pixels[row * cell_width + column];
        }
    }
}

bool build_font_image(const FontSource& source, FontImage& image, std::string& error)
{
    image.fill(transparent_value);
    const auto path = std::make_unique<PenPath>();
    GlyphCell cell{};
    for (int glyph = 0; glyph < glyph_count; ++glyph) {
        for (int frame = 0; frame < frame_count; ++frame) {
            const FrameStyle& style = source.style.frames[frame];
            std::string reason;
            if (!flatten_glyph(source.glyphs[glyph], style, *path, reason) ||
                !rasterize_glyph(*path, source.style, style, cell, reason)) {
                error = std::string("glyph '") + glyph_characters[glyph] + "' (line " +
                        std::to_string(source.glyphs[glyph].defined_at_line) + "), frame " +
                        std::to_string(frame) + ": " + reason;
                return false;
            }
            place_glyph(cell, glyph, frame, image);
        }
    }
    return true;
}

bool write_font_image(const FontImage& image, const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
