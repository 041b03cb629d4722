#include "frame/border_line.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr int first_border_row = 440;
constexpr int glyph_rows = 7;
constexpr int glyph_columns = 5;
constexpr int pixel_size = 2;   // each font pixel is 2 x 2 screen pixels
constexpr int advance = 12;     // screen pixels from one character to the next
constexpr int left_margin = 8;

struct Glyph {
    char character;
    const char* rows[glyph_rows];   // '#' inked, anything else clear
};

// Only what the status line writes: digits, a few capitals and signs.
constexpr Glyph glyphs[] = {
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
};

const Glyph* find_glyph(char character)
{
    for (const Glyph& glyph : glyphs)
        if (glyph.character == character)
            return &glyph;
    return nullptr;
}

void draw_glyph_at(SDL_Surface* surface, const Glyph& glyph, int left, std::uint32_t ink)
{
    auto* pixels = static_cast<std::uint8_t*>(surface->pixels);
    for (int r = 0; r < glyph_rows; ++r) {
        for (int c = 0; c < glyph_columns; ++c) {
            if (glyph.rows[r][c] != '#')
                continue;
            for (int dy = 0; dy < pixel_size; ++dy) {
                auto* row = reinterpret_cast<std::uint32_t*>(
                    pixels +
                    static_cast<std::ptrdiff_t>(border_text_row + r * pixel_size + dy) * surface->pitch);
                for (int dx = 0; dx < pixel_size; ++dx)
                    row[left + c * pixel_size + dx] = ink;
            }
        }
    }
}

}   // namespace

void paint_border_line(SDL_Surface* surface, const char* text)
{
    SDL_LockSurface(surface);
    auto* pixels = static_cast<std::uint8_t*>(surface->pixels);
    const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
    for (int y = first_border_row; y < surface->h; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * surface->pitch);
        for (int x = 0; x < surface->w; ++x)
            row[x] = black;
    }
    if (text) {
        const Uint32 white = SDL_MapRGB(surface->format, 255, 255, 255);
        int left = left_margin;
        for (const char* c = text; *c && left + glyph_columns * pixel_size <= surface->w;
             ++c, left += advance) {
            if (const Glyph* glyph = find_glyph(*c))
                draw_glyph_at(surface, *glyph, left, white);
        }
    }
    SDL_UnlockSurface(surface);
}
