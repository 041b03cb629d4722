#include "png_image.h"

#include "capture_options.h"
#include "capture_screen.h"
#include "command_line.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace {

std::uint8_t screen_rgb[capture_width * capture_height * 3];

}  // namespace

bool write_rgb_png_to(std::FILE* file, const char* path, const std::uint8_t* rgb, int width,
                      int height)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_stdio(&image, file, 0, rgb, 0, nullptr)) {
        std::fprintf(stderr, "%s: cannot write %s: %s\n", capture_program, path, image.message);
        png_image_free(&image);
        return false;
    }
    return std::fflush(file) == 0 || system_error(capture_program, "cannot write", path);
}

bool write_rgb_png(const char* path, const std::uint8_t* rgb, int width, int height)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return system_error(capture_program, "cannot create", path);
    const bool written = write_rgb_png_to(file, path, rgb, width, height);
    const bool closed = std::fclose(file) == 0;
    return written && (closed || system_error(capture_program, "cannot write", path));
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
    return write_rgb_png(path, screen_rgb, capture_width, capture_height);
}
