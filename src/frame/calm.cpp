#include "frame/calm.h"

#include "frame/flash_rules.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int source_width = 320;
constexpr int source_height = 200;
constexpr int allowed_transitions = failing_transitions - 1;

// The four levels a source pixel shows: luminance and red of its upper (bright) and
// lower (dimmed) screen line.
constexpr int tracked_levels = 4;

struct CalmPixel {
    SwingTracker trackers[tracked_levels];
    std::uint32_t shown_bright;   // the screen pixels it shows now
    std::uint32_t shown_dim;
    // When it last changed by a transition of any of its four levels, oldest first
    // from `first`: one change counts once, however many levels swing in it.
    std::int32_t changes[allowed_transitions];
    std::uint8_t first;
    std::uint8_t count;
    bool started;
};

struct PaletteLevels {
    std::int32_t levels[tracked_levels];
};

CalmPixel* pixels = nullptr;
PaletteLevels palette_levels[256];

void forget_old_changes(CalmPixel* pixel, std::int32_t time_ms)
{
    while (pixel->count > 0 && pixel->changes[pixel->first] <= time_ms - flash_window_ms) {
        pixel->first = static_cast<std::uint8_t>((pixel->first + 1) % allowed_transitions);
        --pixel->count;
    }
}

void remember_change(CalmPixel* pixel, std::int32_t time_ms)
{
    pixel->changes[(pixel->first + pixel->count) % allowed_transitions] = time_ms;
    ++pixel->count;
}

PaletteLevels levels_of(std::uint32_t bright, std::uint32_t dim, const SDL_PixelFormat* format)
{
    Uint8 r, g, b;
    SDL_GetRGB(bright, const_cast<SDL_PixelFormat*>(format), &r, &g, &b);
    const FlashLevels upper = flash_levels((std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b);
    SDL_GetRGB(dim, const_cast<SDL_PixelFormat*>(format), &r, &g, &b);
    const FlashLevels lower = flash_levels((std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b);
    return PaletteLevels{{upper.luminance, upper.red, lower.luminance, lower.red}};
}

// Whether the pixel may take its new colour now; if so its trackers follow it.
bool allow_change(CalmPixel* pixel, const PaletteLevels& next, std::int32_t time_ms)
{
    SwingTracker trial[tracked_levels];
    std::memcpy(trial, pixel->trackers, sizeof trial);
    bool swings = false;
    for (int i = 0; i < tracked_levels; ++i) {
        const bool red = (i & 1) != 0;
        swings |= next_swing(&trial[i], next.levels[i], red ? red_step : luminance_step,
                             red ? no_darker_limit : darker_below) != 0;
    }
    if (swings) {
        forget_old_changes(pixel, time_ms);
        if (pixel->count >= allowed_transitions)
            return false;
        remember_change(pixel, time_ms);
    }
    std::memcpy(pixel->trackers, trial, sizeof trial);
    return true;
}

void start_pixel(CalmPixel* pixel, const PaletteLevels& levels, std::uint32_t bright, std::uint32_t dim)
{
    for (int i = 0; i < tracked_levels; ++i)
        pixel->trackers[i] = start_swing(levels.levels[i]);
    pixel->shown_bright = bright;
    pixel->shown_dim = dim;
    pixel->started = true;
}

}   // namespace

bool enable_calm_presentation()
{
    if (pixels)
        std::memset(pixels, 0, sizeof(CalmPixel) * source_width * source_height);
    else
        pixels = static_cast<CalmPixel*>(std::calloc(source_width * source_height, sizeof(CalmPixel)));
    return pixels != nullptr;
}

void disable_calm_presentation()
{
    std::free(pixels);
    pixels = nullptr;
}

bool calm_presentation_on()
{
    return pixels != nullptr;
}

void present_calmly(const std::uint8_t* source, std::uint8_t* first_row, std::size_t pitch,
                    const std::uint32_t* bright, const std::uint32_t* dim, const SDL_PixelFormat* format,
                    std::int32_t time_ms)
{
    for (int index = 0; index < 256; ++index)
        palette_levels[index] = levels_of(bright[index], dim[index], format);
    for (int y = 0; y < source_height; ++y) {
        auto* upper = reinterpret_cast<std::uint32_t*>(first_row + 2 * y * pitch);
        auto* lower = reinterpret_cast<std::uint32_t*>(first_row + (2 * y + 1) * pitch);
        for (int x = 0; x < source_width; ++x) {
            const std::uint8_t index = source[y * source_width + x];
            CalmPixel* pixel = &pixels[y * source_width + x];
            const bool same =
                pixel->started && pixel->shown_bright == bright[index] && pixel->shown_dim == dim[index];
            if (!pixel->started) {
                start_pixel(pixel, palette_levels[index], bright[index], dim[index]);
            } else if (!same && allow_change(pixel, palette_levels[index], time_ms)) {
                pixel->shown_bright = bright[index];
                pixel->shown_dim = dim[index];
            }
            upper[2 * x] = upper[2 * x + 1] = pixel->shown_bright;
            lower[2 * x] = lower[2 * x + 1] = pixel->shown_dim;
        }
    }
}
