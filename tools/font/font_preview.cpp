#include "font_preview.h"

#include "frame/present_kernels.h"
#include "png_file.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int advance = 22;   // captions step 22 pixels per character
constexpr int glyphs_per_line = 19;
constexpr int border = 8;
constexpr int line_height = 34;
constexpr int frame_gap = 8;
constexpr int canvas_width = 2 * border + (glyphs_per_line - 1) * advance + cell_width;
constexpr int canvas_height = border + frame_count * (2 * line_height + frame_gap) + line_height + border;

// The first scene's caption colours: background, ink and the background's shaded twin.
constexpr std::uint8_t background_index = 127;
constexpr std::uint8_t ink_index = 126;
constexpr std::uint32_t background_rgb = 0xff9696;
constexpr std::uint32_t ink_rgb = 0xffffff;
constexpr std::uint32_t shaded_background_rgb = 0xffc8c8;

using Canvas = std::array<std::uint8_t, canvas_width * canvas_height>;

// One glyph frame by the demo's own rule for every pixel.
void draw_glyph_frame(const FontImage& image, int glyph, int frame, int x, int y, Canvas& canvas)
{
    for (int row = 0; row < cell_height; ++row) {
        for (int column = 0; column < cell_width; ++column) {
            draw_glyph_pixel(&canvas[(y + row) * canvas_width + x + column],
                             image[glyph_pixel_offset(glyph, frame, column, row)], ink_index);
        }
    }
}

// A caption at time 0: character i uses frame i mod 3, the ripple the demo shows.
void draw_rippling_text(const FontImage& image, const char* text, int x, int y, Canvas& canvas)
{
    for (int i = 0; text[i] != '\0'; ++i) {
        const int glyph = glyph_number(text[i]);
        if (glyph >= 0) {
            draw_glyph_frame(image, glyph, i % frame_count, x + advance * i, y, canvas);
        }
    }
}

void compose(const FontImage& image, Canvas& canvas)
{
    canvas.fill(background_index);
    int y = border;
    for (int frame = 0; frame < frame_count; ++frame) {
        for (int glyph = 0; glyph < glyph_count; ++glyph) {
            const int line = glyph / glyphs_per_line;
            const int x = border + advance * (glyph % glyphs_per_line);
            draw_glyph_frame(image, glyph, frame, x, y + line * line_height, canvas);
        }
        y += 2 * line_height + frame_gap;
    }
    draw_rippling_text(image, "tin kettles g4l0p!", border, y, canvas);
}

std::uint32_t index_colour(std::uint8_t index)
{
    switch (index) {
    case background_index: return background_rgb;
    case ink_index: return ink_rgb;
    case background_index | 0x80: return shaded_background_rgb;
    default: return 0;   // no other index is set in this scene: black shows any stray pixel
    }
}

// Each index becomes a 2 x 2 block with the lower line dimmed, as the demo presents a frame.
void enlarge(const Canvas& canvas, std::uint8_t* rgb)
{
    const int out_width = 2 * canvas_width;
    for (int y = 0; y < 2 * canvas_height; ++y) {
        const bool dim = (y & 1) != 0;
        for (int x = 0; x < out_width; ++x) {
            const std::uint32_t colour = index_colour(canvas[(y / 2) * canvas_width + x / 2]);
            std::uint8_t* out = rgb + (static_cast<std::size_t>(y) * out_width + x) * 3;
            for (int channel = 0; channel < 3; ++channel) {
                const auto value = static_cast<std::uint8_t>(colour >> (16 - 8 * channel));
                out[channel] = dim ? dimmed_level(value) : value;
            }
        }
    }
}

}   // namespace

bool write_font_preview(const char* program, const FontImage& image, const std::string& png_path)
{
    const auto canvas = std::make_unique<Canvas>();
    compose(image, *canvas);
    const std::size_t rgb_size = 4u * canvas_width * canvas_height * 3;
    const auto rgb = std::make_unique<std::uint8_t[]>(rgb_size);
    enlarge(*canvas, rgb.get());

    PngFailure failure;
    if (write_png(png_path.c_str(), PngPicture{rgb.get(), 2 * canvas_width, 2 * canvas_height, nullptr, true},
                  &failure))
        return true;
    std::fprintf(stderr, "%s: %s\n", program, failure.reason);
    return false;
}
