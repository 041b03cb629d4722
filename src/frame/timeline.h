// What the timeline tells about itself, for the tools that follow the demo.
#pragma once

#include <cstdint>

// The scene (1 to 10) that shows at a music position.
std::int32_t scene_number(std::int32_t position);
