// A picture file: loaded, then drawn at several scales and offsets, including ones
// that put it far off the screen or make it much larger than the screen.
#include "input_file.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <memory>

namespace {

struct Placement {
    std::int32_t scale, offset_x, offset_y;
};

constexpr Placement placements[] = {
    {100, 0, 0},  {0, 0, 0},         {1, -100, 50},        {400, -700, 300},
    {4000, 0, 0}, {-300, 100, -100}, {20000, -5000, 5000}, {65535, 131072, -131072},
};

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Picture* picture = load_picture(write_input_file(data, size));
    if (!picture)
        return 0;
    // Heap-allocated at its exact size, so a stray write just outside it is caught.
    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[320 * 200]());
    for (const Placement& placement : placements) {
        picture_scale = placement.scale;
        picture_offset_x = placement.offset_x;
        picture_offset_y = placement.offset_y;
        draw_picture(picture, frame.get(), screen_transform);
    }
    free_picture(picture);
    return 0;
}
