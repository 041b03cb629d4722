#include "scene_stand_ins.h"

#include "common/scratch_folder.h"
#include "frame/demo_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view glyph_characters = "abcdefghijklmnopqrstuvwxyz1234567890!'";
constexpr int font_bytes = 320 * 384;
// Columns 6..21 of a glyph cell are covered by neither neighbour of a caption.
constexpr int code_column = 6;
constexpr int code_bits = 6;

// Glyph g carries g + 1 in binary along its top row, and an ink marker below the
// code's first column so that a glyph with code bits of 0 still shows.
void draw_code_glyph(std::vector<std::uint8_t>& font, int frame, int glyph)
{
    const int cell = frame * 40960 + (glyph / 10) * 10240 + (glyph % 10) * 32;
    for (int bit = 0; bit < code_bits; ++bit)
        if ((glyph + 1) & (1 << bit))
            font[cell + code_column + bit] = 0;
    font[cell + 320 + code_column] = 0;
}

}   // namespace

std::uint32_t stand_in_colour(int picture, int position)
{
    return static_cast<std::uint32_t>((picture * 20 + 5) << 16 | (2 * position) << 8 | (255 - position));
}

std::uint8_t stand_in_shape_colour(int picture)
{
    return static_cast<std::uint8_t>(10 + picture);
}

void install_stand_in_data()
{
    static Shape shapes[stand_in_picture_count];
    static Picture pictures[stand_in_picture_count];
    static TextPicture drawings[2];
    static bool built = false;
    if (!built) {
        for (int k = 0; k < stand_in_picture_count; ++k) {
            shapes[k].flags = 2;
            shapes[k].fill_colour = stand_in_shape_colour(k);
            shapes[k].triangle_count = 1;
            shapes[k].triangles = {-13107, -13107, 13107, -13107, 0, 13107};
            for (int i = 1; i <= 100; ++i)
                pictures[k].palette[i] = stand_in_colour(k, i);
            pictures[k].colour_count = 100;
            pictures[k].shapes = &shapes[k];
        }
        for (TextPicture& drawing : drawings) {
            drawing.polyline_count = 40;
            for (int i = 0; i < 40; ++i) {
                const auto x = static_cast<std::int16_t>(40 + 8 * i);
                drawing.points[i] = {x, 100, x, 700};
                drawing.point_counts[i] = 2;
            }
        }
        built = true;
    }
    demo_data = DemoData{&drawings[0],
                         &drawings[1],
                         &pictures[stand_in_wobbli],
                         &pictures[stand_in_zippsy],
                         &pictures[stand_in_ankels],
                         &pictures[stand_in_flonk1],
                         &pictures[stand_in_flonk2],
                         &pictures[stand_in_strutto],
                         &pictures[stand_in_struttoblk],
                         &pictures[stand_in_bottles]};
    tunnel_picture = &pictures[stand_in_blinq];
    tunnel_picture2 = &pictures[stand_in_blinq2];
}

void load_readable_font()
{
    std::vector<std::uint8_t> font(font_bytes, 255);
    for (int frame = 0; frame < 3; ++frame)
        for (int glyph = 0; glyph < static_cast<int>(glyph_characters.size()); ++glyph)
            draw_code_glyph(font, frame, glyph);
    const ScratchFolder folder("timeline");
    const std::string path = (folder / "readable-font.raw").string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(font.data(), 1, font.size(), file);
    std::fclose(file);
    EXPECT_EQ(load_font(path.c_str()), 0);
}

std::string read_caption(const std::uint8_t* buffer, std::int32_t x, std::int32_t y, std::int32_t centred,
                         std::uint8_t colour, const std::string& expected)
{
    const auto n = static_cast<std::int32_t>(expected.size());
    const std::int32_t left = centred ? x - (11 * n + 4) : x;
    const std::int32_t top = centred ? y - 16 : y;
    std::string text;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t column = left + 22 * i + code_column;
        if (top < 0 || top + 1 >= 200 || column < 0 || column + code_bits > 320)
            return text + "<outside the frame>";
        if (buffer[(top + 1) * 320 + column] != colour) {
            text += ' ';
            continue;
        }
        int code = 0;
        for (int bit = 0; bit < code_bits; ++bit)
            if (buffer[top * 320 + column + bit] == colour)
                code |= 1 << bit;
        text +=
            code >= 1 && code <= static_cast<int>(glyph_characters.size()) ? glyph_characters[code - 1] : '?';
    }
    return text;
}

std::int32_t count_colour(const std::uint8_t* buffer, std::uint8_t colour)
{
    return static_cast<std::int32_t>(std::count(buffer, buffer + 320 * 200, colour));
}
