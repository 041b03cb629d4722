// A line-drawing file: loaded, then drawn whole, in a few segment ranges, and segment
// by segment as the scenes build it up.
#include "input_file.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TextPicture* picture = load_text_picture(write_input_file(data, size));
    if (!picture)
        return 0;
    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[320 * 200]());
    draw_text_picture(frame.get(), picture, 0, INT32_MAX, 15);
    draw_text_picture(frame.get(), picture, INT32_MIN, -1, 15);
    draw_text_picture(frame.get(), picture, 5, 2, 15);
    for (std::int32_t segment = 0; segment < 64; ++segment)
        draw_text_picture(frame.get(), picture, segment, segment, 200);
    free_text_picture(picture);
    return 0;
}
