#include "warning_card.h"

#include "capture_screen.h"
#include "pictures/pictures.h"
#include "y4m_stream.h"

#include <array>
#include <cstring>

namespace {

// The caption font has lower-case letters, digits, '!' and an apostrophe, 14 to a line.
constexpr const char* card_lines[] = {"warning!",    "this video has", "fast flashing",
                                      "lights that", "may trigger",    "seizures"};
constexpr int line_spacing = 32;
constexpr int first_screen_row = 40;

// Ink 1 white, the font's shade (bit 7) grey, the rest black; every source pixel a 2x2
// block whose lower line is dimmed, as the demo shows its frames.
void draw_card(SDL_Surface* surface)
{
    static std::array<std::uint8_t, 320 * 200> card;
    card.fill(0);
    const int lines = static_cast<int>(sizeof card_lines / sizeof card_lines[0]);
    const int top = 100 - lines * line_spacing / 2 + line_spacing / 2;
    for (int i = 0; i < lines; ++i)
        draw_caption(card.data(), 160, top + i * line_spacing, card_lines[i], 1, 0, 1);
    std::memset(surface->pixels, 0, static_cast<std::size_t>(surface->pitch) * capture_height);
    for (int y = 0; y < 200; ++y) {
        auto* upper = const_cast<std::uint32_t*>(screen_row(surface, first_screen_row + 2 * y));
        auto* lower = const_cast<std::uint32_t*>(screen_row(surface, first_screen_row + 2 * y + 1));
        for (int x = 0; x < 320; ++x) {
            const std::uint8_t index = card[y * 320 + x];
            const std::uint32_t level = index == 1 ? 255 : (index & 128) ? 110 : 0;
            upper[2 * x] = upper[2 * x + 1] = level * 0x010101u;
            lower[2 * x] = lower[2 * x + 1] = (level * 4 / 5) * 0x010101u;
        }
    }
}

}   // namespace

bool write_warning_card(std::FILE* frames, std::int32_t fps, const FrameScale& scale, std::uint8_t* planes)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, capture_width, capture_height, 32, 0x00ff0000,
                                                0x0000ff00, 0x000000ff, 0);
    if (!surface)
        return false;
    draw_card(surface);
    convert_scaled_to_yuv420(surface, scale, planes);
    SDL_FreeSurface(surface);
    const std::size_t bytes = yuv_frame_size(scale);
    for (std::int32_t frame = 0; frame < warning_card_seconds * fps; ++frame)
        if (!write_y4m_frame(frames, planes, bytes))
            return false;
    return true;
}
