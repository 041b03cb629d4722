#include "sound/waveforms.h"

std::int16_t waveforms[4][waveform_length];

namespace {

constexpr std::int16_t sine_half[32] = {
    0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212, 224, 235, 244, 250, 253,
    255, 253, 250, 244, 235, 224, 212, 197, 180, 161, 141, 120, 97,  74,  49,  24,
};

std::uint32_t next_random(std::uint32_t& state)
{
    state = state * 1103515245u + 12345u;
    return state % 2147483647u;
}

}   // namespace

void build_waveforms()
{
    std::uint32_t random_state = 1;
    for (int i = 0; i < waveform_length; ++i) {
        waveforms[0][i] = static_cast<std::int16_t>(i < 32 ? sine_half[i] : -sine_half[i - 32]);
        waveforms[1][i] = static_cast<std::int16_t>(255 - 8 * i);
        const int quarter = i / 16;
        waveforms[2][i] = static_cast<std::int16_t>(quarter == 1 ? 255 : quarter == 3 ? -256 : 0);
        waveforms[3][i] =
            static_cast<std::int16_t>(static_cast<std::int32_t>(next_random(random_state) % 511) - 256);
    }
}
