#include "png_file.h"

#include "failed_output.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct EncoderFault {
    char message[200];
};

[[noreturn]] void keep_fault(png_structp png, png_const_charp message)
{
    auto* fault = static_cast<EncoderFault*>(png_get_error_ptr(png));
    std::snprintf(fault->message, sizeof fault->message, "%s", message);
    png_longjmp(png, 1);
}

void ignore_warning(png_structp, png_const_charp) {}

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
bool encode(std::FILE* file, const PngPicture& picture, png_bytep* rows, EncoderFault* fault)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, fault, keep_fault, ignore_warning);
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
    const int colour_type = picture.palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 8, colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (picture.palette)
        set_palette(png, info, picture.palette);
    if (picture.srgb)
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// The reason "<what> <path>: <the system's words for errno>". Always false.
bool system_failure(PngFailure* failure, const char* what, const char* path)
{
    std::snprintf(failure->reason, sizeof failure->reason, "%s %s: %s", what, path, std::strerror(errno));
    return false;
}

}   // namespace

bool write_png_to(std::FILE* file, const char* path, const PngPicture& picture, PngFailure* failure)
{
    std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
    const std::size_t stride = static_cast<std::size_t>(picture.width) * (picture.palette ? 1 : 3);
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(picture.pixels + y * stride);
    EncoderFault fault{"the PNG encoder could not start"};
    if (!encode(file, picture, rows.data(), &fault)) {
        std::snprintf(failure->reason, sizeof failure->reason, "cannot write %s: %s", path, fault.message);
        return false;
    }
    return std::fflush(file) == 0 || system_failure(failure, "cannot write", path);
}

bool write_png(const char* path, const PngPicture& picture, PngFailure* failure)
{
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return system_failure(failure, "cannot create", path);
    const bool written = write_png_to(file, path, picture, failure);
    const bool closed = std::fclose(file) == 0;
    if (written && !closed)
        system_failure(failure, "cannot write", path);
    if (written && closed)
        return true;
    remove_failed_output(path);
    return false;
}
