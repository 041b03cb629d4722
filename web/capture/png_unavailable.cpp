// The capture built to run under node has no PNG library: its Y4M and WAV outputs are
// what it is for. Asking it for PNG files is reported, as any unwritable output is.
#include "png_image.h"

#include <cstdio>

bool write_rgb_png_to(std::FILE*, const char* path, const std::uint8_t*, int, int)
{
    std::fprintf(stderr, "tinkettles-capture: %s: this build writes no PNG files\n", path);
    return false;
}

bool write_screen_png(const char* path, const SDL_Surface*, const FrameScale&)
{
    return write_rgb_png_to(nullptr, path, nullptr, 0, 0);
}
