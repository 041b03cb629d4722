#include "png_output.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct PngImage {
    const std::uint8_t* pixels;
    int width;
    int height;
    int bytes_per_pixel;
    const std::uint32_t* palette;   // nullptr for true colour
};

void set_palette(png_structp png, png_infop info, const std::uint32_t* palette)
{
    png_color colours[256];
    for (int i = 0; i < 256; ++i) {
        colours[i].red = static_cast<png_byte>(palette[i] >> 16);
        colours[i].green = static_cast<png_byte>(palette[i] >> 8);
        colours[i].blue = static_cast<png_byte>(palette[i]);
    }
    png_set_PLTE(png, info, colours, 256);
}

// Kept apart from any object with a destructor, since libpng reports errors by longjmp.
bool encode(std::FILE* file, const PngImage& image, png_bytep* rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    const int colour_type = image.palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, colour_type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image.palette)
        set_palette(png, info, image.palette);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool write_png(const char* path, const PngImage& image)
{
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    const std::size_t stride = static_cast<std::size_t>(image.width * image.bytes_per_pixel);
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(image.pixels + y * stride);
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "tinkettles-preview: cannot create %s: %s\n", path, std::strerror(errno));
        return false;
    }
    const bool encoded = encode(file, image, rows.data());
    const bool closed = std::fclose(file) == 0;
    if (!encoded || !closed) {
        std::fprintf(stderr, "tinkettles-preview: cannot write %s: %s\n", path,
                     closed ? "the PNG encoder failed" : std::strerror(errno));
        std::remove(path);
        return false;
    }
    return true;
}

}  // namespace

bool write_indexed_png(const char* path, const std::uint8_t* pixels, int width, int height,
                       const std::uint32_t* palette)
{
    return write_png(path, PngImage{pixels, width, height, 1, palette});
}

bool write_rgb_png(const char* path, const std::uint8_t* rgb, int width, int height)
{
    return write_png(path, PngImage{rgb, width, height, 3, nullptr});
}
