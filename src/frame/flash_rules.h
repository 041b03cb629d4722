// The measures behind the flash limits, shared by the flash analysis of the capture and
// by the calm presentation, so that both judge a picture the same way. No SDL here.
//
// A colour's relative luminance and its red level are whole numbers in millionths:
// luminance 0 (black) to 1,000,000 (white), from the sRGB curve and the weights
// 0.2126, 0.7152, 0.0722 of linear red, green and blue; the red level is
// (R - G - B) x 320 of the linear channels for a saturated red (R / (R + G + B) at
// least 0.8), else 0, so 0 to 320,000,000.
//
// A transition is a swing between a peak and a valley of one such level over time: of
// at least 0.1 in luminance with the darker side below 0.8, or of more than 20 in the
// red level. A flash is two opposing transitions; more than three flashes in one second
// is read as seven or more transitions inside any window of 1000 ms.
#pragma once

#include <cstdint>

constexpr std::int32_t luminance_unit = 1000000;
constexpr std::int32_t luminance_step = luminance_unit / 10;     // a swing of 0.1 or more
constexpr std::int32_t darker_below = luminance_unit * 8 / 10;   // ...whose darker side is under 0.8
constexpr std::int32_t red_step = 20 * luminance_unit + 1;       // a swing of more than 20
constexpr std::int32_t no_darker_limit = 2147483647;
constexpr std::int32_t flash_window_ms = 1000;
constexpr int failing_transitions = 7;   // in one window: more than three flashes

struct FlashLevels {
    std::int32_t luminance;
    std::int32_t red;
};

// One 8-bit sRGB colour, 0xRRGGBB (higher bits ignored).
FlashLevels flash_levels(std::uint32_t rgb);

// Follows one level over time and tells when it makes a transition. Before the first
// transition `low` and `high` are the extremes seen so far; after it `low` (falling) or
// `high` (rising) is the extreme the level has reached since.
struct SwingTracker {
    std::int32_t low;
    std::int32_t high;
    std::int8_t direction;   // 0 before the first transition, then +1 rising, -1 falling
};

constexpr SwingTracker start_swing(std::int32_t level)
{
    return SwingTracker{level, level, 0};
}

// The next level: +1 when it completes a rise of at least `step`, -1 a fall, else 0.
// `darker_limit`: the lower end of a counted swing must lie below it. Inline: it runs
// for every pixel of every frame.
inline int next_swing(SwingTracker* tracker, std::int32_t level, std::int32_t step, std::int32_t darker_limit)
{
    SwingTracker& t = *tracker;
    if (t.direction <= 0 && level - t.low >= step && t.low < darker_limit) {
        t.direction = 1;
        t.high = level;
        return 1;
    }
    if (t.direction >= 0 && t.high - level >= step && level < darker_limit) {
        t.direction = -1;
        t.low = level;
        return -1;
    }
    if (level < t.low && t.direction <= 0)
        t.low = level;
    if (level > t.high && t.direction >= 0)
        t.high = level;
    return 0;
}
