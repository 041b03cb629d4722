#include "png_image.h"

#include "capture_options.h"
#include "capture_screen.h"
#include "png_file.h"

#include <cstdio>

namespace {

std::uint8_t screen_rgb[capture_width * capture_height * 3];

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

bool write_screen_png(const char* path, const SDL_Surface* surface)
{
    std::uint8_t* out = screen_rgb;
    for (int y = 0; y < capture_height; ++y) {
        const std::uint32_t* row = screen_row(surface, y);
        for (int x = 0; x < capture_width; ++x) {
            *out++ = static_cast<std::uint8_t>(row[x] >> 16);
            *out++ = static_cast<std::uint8_t>(row[x] >> 8);
            *out++ = static_cast<std::uint8_t>(row[x]);
        }
    }
    PngFailure failure;
    return reported(
        write_png(path, PngPicture{screen_rgb, capture_width, capture_height, nullptr, true}, &failure),
        failure);
}
