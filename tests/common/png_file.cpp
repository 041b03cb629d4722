#include "common/png_file.h"

#include <png.h>

PngImage read_png(const std::filesystem::path& path, bool with_alpha)
{
    PngImage image;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str()))
        return image;
    const bool indexed = (png.format & PNG_FORMAT_FLAG_COLORMAP) != 0;
    const int palette_size = static_cast<int>(png.colormap_entries);
    png.format = with_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr))
        return image;
    image.ok = true;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.indexed = indexed;
    image.palette_size = palette_size;
    image.channels = with_alpha ? 4 : 3;
    image.pixels = std::move(pixels);
    return image;
}
