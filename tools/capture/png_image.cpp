#include "png_image.h"

#include "capture_options.h"
#include "capture_screen.h"
#include "png_file.h"

#include <cstdio>

namespace {

// The largest frame, 2880x2160: 18.7 MB, touched only as far as the frames reach.
std::uint8_t screen_rgb[largest_scaled_width * (capture_height / screen_block * largest_block) * 3];
std::uint32_t scaled_row[largest_scaled_width];

std::uint8_t* put_rgb(const std::uint32_t* row, int width, std::uint8_t* out)
{
    for (int x = 0; x < width; ++x) {
        *out++ = static_cast<std::uint8_t>(row[x] >> 16);
        *out++ = static_cast<std::uint8_t>(row[x] >> 8);
        *out++ = static_cast<std::uint8_t>(row[x]);
    }
    return out;
}

}   // namespace

namespace {

bool reported(bool written, const PngFailure& failure)
{
    if (!written)
        std::fprintf(stderr, "%s: %s\n", capture_program, failure.reason);
    return written;
}

}   // namespace

bool write_rgb_png_to(std::FILE* file, const char* path, const std::uint8_t* rgb, int width, int height)
{
    PngFailure failure;
    return reported(write_png_to(file, path, PngPicture{rgb, width, height, nullptr, true}, &failure),
                    failure);
}

bool write_screen_png(const char* path, const SDL_Surface* surface, const FrameScale& scale)
{
    std::uint8_t* out = screen_rgb;
    for (int y = 0; y < scale.height; ++y) {
        if (scale.block == screen_block) {
            out = put_rgb(screen_row(surface, y), scale.width, out);
        } else {
            scaled_screen_row(surface, scale, y, scaled_row);
            out = put_rgb(scaled_row, scale.width, out);
        }
    }
    PngFailure failure;
    return reported(
        write_png(path, PngPicture{screen_rgb, scale.width, scale.height, nullptr, true}, &failure), failure);
}
