#include "contact_sheet.h"

#include "capture_screen.h"
#include "frame/main_loop.h"
#include "frame/timeline.h"
#include "pictures/pictures.h"
#include "png_image.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr int sheet_columns = 5;
constexpr int label_height = 40;
constexpr int cell_height = thumbnail_height + label_height;
constexpr int sheet_width = sheet_columns * thumbnail_width;
constexpr int sheet_height = (scene_count / sheet_columns) * cell_height;
constexpr int rows_per_order = 64;

std::uint8_t sheet_rgb[sheet_width * sheet_height * 3];

// Each thumbnail pixel is the mean of a 2x2 block, a bright and a dimmed screen line.
void shrink_screen(const SDL_Surface* surface, std::uint8_t* thumbnail)
{
    for (int y = 0; y < thumbnail_height; ++y) {
        const std::uint32_t* upper = screen_row(surface, 2 * y);
        const std::uint32_t* lower = screen_row(surface, 2 * y + 1);
        for (int x = 0; x < thumbnail_width; ++x) {
            const std::uint32_t block[4] = {upper[2 * x], upper[2 * x + 1], lower[2 * x], lower[2 * x + 1]};
            for (int shift = 16; shift >= 0; shift -= 8) {
                std::uint32_t sum = 2;
                for (const std::uint32_t p : block)
                    sum += (p >> shift) & 0xff;
                *thumbnail++ = static_cast<std::uint8_t>(sum / 4);
            }
        }
    }
}

void copy_thumbnail(const std::uint8_t* thumbnail, int left, int top)
{
    for (int y = 0; y < thumbnail_height; ++y)
        std::memcpy(sheet_rgb + (static_cast<std::size_t>(top + y) * sheet_width + left) * 3,
                    thumbnail + static_cast<std::size_t>(y) * thumbnail_width * 3, thumbnail_width * 3);
}

// The label is drawn with the caption code into an indexed strip: 0 background,
// 1 ink, and the font's shade sets bit 7.
void draw_label(std::int32_t scene, int left, int top)
{
    static std::array<std::uint8_t, thumbnail_width * label_height> strip;
    strip.fill(0);
    char text[16];
    std::snprintf(text, sizeof text, "scene %d", scene);
    draw_caption(strip.data(), thumbnail_width / 2, label_height / 2, text, 1, 0, 1);
    for (int y = 0; y < label_height; ++y) {
        for (int x = 0; x < thumbnail_width; ++x) {
            const std::uint8_t index = strip[static_cast<std::size_t>(y) * thumbnail_width + x];
            const std::uint8_t level = index == 1 ? 255 : (index & 128) ? 110 : 24;
            std::uint8_t* out = sheet_rgb + (static_cast<std::size_t>(top + y) * sheet_width + left + x) * 3;
            out[0] = out[1] = out[2] = level;
        }
    }
}

}   // namespace

std::int32_t scene_middle_position(std::int32_t scene)
{
    std::int32_t held[final_position / 100 * rows_per_order];
    std::int32_t count = 0;
    for (std::int32_t order = 0; order < final_position / 100; ++order)
        for (std::int32_t row = 0; row < rows_per_order; ++row)
            if (scene_number(order * 100 + row) == scene)
                held[count++] = order * 100 + row;
    return count > 0 ? held[count / 2] : final_position;
}

void start_contact_sheet(ContactSheet* sheet)
{
    for (int i = 0; i < scene_count; ++i) {
        sheet->middle_position[i] = scene_middle_position(i + 1);
        sheet->settled[i] = false;
        sheet->seen[i] = false;
    }
}

void offer_contact_frame(ContactSheet* sheet, std::int32_t position, const SDL_Surface* surface)
{
    const std::int32_t scene = scene_number(position);
    if (scene < 1 || scene > scene_count)
        return;
    const int i = scene - 1;
    if (sheet->settled[i])
        return;
    shrink_screen(surface, sheet->thumbnails[i]);
    sheet->seen[i] = true;
    sheet->settled[i] = position >= sheet->middle_position[i];
}

bool write_contact_sheet(const ContactSheet* sheet, std::FILE* file, const char* path)
{
    std::memset(sheet_rgb, 0, sizeof sheet_rgb);
    for (int i = 0; i < scene_count; ++i) {
        const int left = (i % sheet_columns) * thumbnail_width;
        const int top = (i / sheet_columns) * cell_height;
        if (sheet->seen[i])
            copy_thumbnail(sheet->thumbnails[i], left, top);
        draw_label(i + 1, left, top + thumbnail_height);
    }
    return write_rgb_png_to(file, path, sheet_rgb, sheet_width, sheet_height);
}
