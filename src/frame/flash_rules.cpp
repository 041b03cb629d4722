#include "frame/flash_rules.h"

#include <cmath>

namespace {

// The linear value of each 8-bit sRGB level, in millionths.
struct LinearTable {
    std::int32_t linear[256];
    std::int32_t luminance[3][256];   // weighted by red, green and blue's share
};

double linear_of(int level)
{
    const double v = level / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

LinearTable make_table()
{
    LinearTable table{};
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    for (int level = 0; level < 256; ++level) {
        const double value = linear_of(level);
        table.linear[level] = static_cast<std::int32_t>(std::lround(value * luminance_unit));
        for (int channel = 0; channel < 3; ++channel)
            table.luminance[channel][level] =
                static_cast<std::int32_t>(std::lround(value * weights[channel] * luminance_unit));
    }
    // White sums to exactly one: 212600 + 715200 + 72200.
    return table;
}

const LinearTable& table()
{
    static const LinearTable made = make_table();
    return made;
}

}   // namespace

FlashLevels flash_levels(std::uint32_t rgb)
{
    const LinearTable& t = table();
    const unsigned r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
    const std::int32_t luminance = t.luminance[0][r] + t.luminance[1][g] + t.luminance[2][b];
    const std::int32_t red = t.linear[r], others = t.linear[g] + t.linear[b];
    // R / (R + G + B) >= 0.8 is R >= 4 (G + B); that also makes R - G - B positive
    // unless all three are zero.
    const bool saturated = red > 0 && red >= 4 * others;
    return FlashLevels{luminance, saturated ? (red - others) * 320 : 0};
}
