// Installing the SDL device's operations without opening SDL's audio, for rendering
// the music offline through the same voices, player and callback.
#pragma once

#include <cstdint>

// Sound mode 1 (22050 Hz, 8-bit) or 2 (44100 Hz, 16-bit); runs dev_init, sets the
// master volume to 64 and runs dev_start, as sound_start does after opening.
void install_sdl_device(std::int32_t mode);
