// A font file: loaded, then captions drawn from it. The caption's text and place come
// from the input's first bytes, so glyphs are drawn across every border as well.
#include "input_file.h"
#include "pictures/pictures.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr const char* fixed_captions[] = {
    "tin kettles", "abcdefghijklmnopqrstuvwxyz", "1234567890!'", "Upper Case and space", "",
};

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (load_font(write_input_file(data, size)) < 0)
        return 0;
    std::unique_ptr<std::uint8_t[]> frame(new std::uint8_t[320 * 200]());
    std::int32_t time = 0;
    for (const char* text : fixed_captions) {
        draw_caption(frame.get(), 160, 100, text, 1, time, 7);
        draw_caption(frame.get(), 0, 0, text, 0, time, 7);
        time += 140;
    }
    // Place, time and up to 20 characters taken from the input itself.
    if (size >= 6) {
        const auto x = static_cast<std::int32_t>(static_cast<std::int8_t>(data[0])) * 4;
        const auto y = static_cast<std::int32_t>(static_cast<std::int8_t>(data[1])) * 2;
        const std::int32_t caption_time = (data[2] << 8 | data[3]) * 7;
        char text[21] = {};
        std::memcpy(text, data + 4, std::min<std::size_t>(size - 4, 20));
        draw_caption(frame.get(), x, y, text, data[4] & 1, caption_time, data[5]);
        draw_glyph(frame.get(), x, y, text[0], data[2] % 5 - 1, data[3]);
    }
    return 0;
}
