// The bitmap font: three animation frames of 38 glyphs in one raw 320 x 384 image,
// and captions whose letters ripple through the frames.
#include "pictures/loader_extras.h"
#include "pictures/glyph_rule.h"
#include "pictures/pictures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::int32_t image_width = 320;
constexpr std::int32_t frame_bytes = 40960;
constexpr std::int32_t cell_row_bytes = 10240;
constexpr std::int32_t cell_size = 32;
constexpr std::int32_t glyph_width = 28;
constexpr std::int32_t glyph_height = 32;
constexpr std::int32_t advance = 22;
constexpr std::int64_t frame_width = 320;
constexpr std::int64_t frame_height = 200;

std::uint8_t font_image[3 * frame_bytes];

}   // namespace

int load_font(const char* file_name)
{
    std::FILE* file = std::fopen(file_name, "rb");
    if (!file) {
        note_open_failure(errno);
        return -1;
    }
    std::fread(font_image, 1, sizeof font_image, file);
    // A short file is a font all the same; a read that fails (a folder, an I/O error)
    // is not.
    const bool unreadable = std::ferror(file) != 0;
    std::fclose(file);
    if (unreadable) {
        note_load_failure("cannot read the file");
        return -1;
    }
    return 0;
}

// Draws the part of the glyph cell that lies inside the frame buffer.
void draw_glyph(std::uint8_t* buffer, std::int32_t x, std::int32_t y, char character, std::int32_t frame,
                std::uint8_t colour)
{
    const std::int32_t glyph = glyph_number(character);
    if (glyph < 0 || frame < 0 || frame > 2)
        return;
    const std::uint8_t* cell =
        font_image + frame * frame_bytes + (glyph / 10) * cell_row_bytes + (glyph % 10) * cell_size;
    for (std::int32_t r = 0; r < glyph_height; ++r) {
        const std::int64_t row = std::int64_t{y} + r;
        if (row < 0 || row >= frame_height)
            continue;
        for (std::int32_t c = 0; c < glyph_width; ++c) {
            const std::int64_t column = std::int64_t{x} + c;
            if (column >= 0 && column < frame_width)
                draw_glyph_pixel(buffer + row * frame_width + column, cell[r * image_width + c], colour);
        }
    }
}

// Each letter changes frame every 140 ms, one frame ahead of the letter before it.
void draw_caption(std::uint8_t* buffer, std::int32_t x, std::int32_t y, const char* text,
                  std::int32_t centred, std::int32_t time, std::uint8_t colour)
{
    if (!text)
        return;
    const auto length = static_cast<std::int64_t>(std::strlen(text));
    std::int64_t start_x = x;
    std::int64_t start_y = y;
    if (centred) {
        start_x -= 11 * length + 4;
        start_y -= glyph_height / 2;
    }
    for (std::int64_t i = 0; i < length; ++i) {
        const std::int64_t glyph_x = start_x + advance * i;
        if (glyph_x >= frame_width)
            break;   // this and every later letter lies right of the frame
        if (glyph_x + glyph_width <= 0 || start_y + glyph_height <= 0 || start_y >= frame_height)
            continue;
        const auto frame = static_cast<std::int32_t>((time / 140 + i) % 3);
        draw_glyph(buffer, static_cast<std::int32_t>(glyph_x), static_cast<std::int32_t>(start_y), text[i],
                   frame, colour);
    }
}
