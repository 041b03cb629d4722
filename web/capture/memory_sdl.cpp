// The few SDL video calls that the offline capture makes, on a plain memory surface,
// for the capture built to run under node: there is no page, canvas or display there.
// Colours map through the surface's own masks, as the desktop SDL maps them for a
// surface without alpha, so both builds write the same screen pixels.
#include <SDL.h>

#include <bit>
#include <cstdlib>

namespace {

SDL_PixelFormat memory_format;
SDL_Surface memory_surface;

Uint32 channel(Uint8 value, Uint32 mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const Uint32 scaled = bits >= 8 ? value : static_cast<Uint32>(value) >> (8 - bits);
    return (scaled << shift) & mask;
}

}   // namespace

extern "C" {

int SDL_Init(Uint32)
{
    return 0;
}

const char* SDL_GetError()
{
    return "";
}

SDL_Surface* SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 rmask, Uint32 gmask,
                                  Uint32 bmask, Uint32 amask)
{
    if (depth != 32 || width <= 0 || height <= 0 || memory_surface.pixels)
        return nullptr;
    void* pixels = std::calloc(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 4);
    if (!pixels)
        return nullptr;
    memory_format.BitsPerPixel = 32;
    memory_format.BytesPerPixel = 4;
    memory_format.Rmask = rmask;
    memory_format.Gmask = gmask;
    memory_format.Bmask = bmask;
    memory_format.Amask = amask;
    memory_surface.flags = flags;
    memory_surface.format = &memory_format;
    memory_surface.w = width;
    memory_surface.h = height;
    memory_surface.pitch = width * 4;
    memory_surface.pixels = pixels;
    return &memory_surface;
}

Uint32 SDL_MapRGB(const SDL_PixelFormat* format, Uint8 r, Uint8 g, Uint8 b)
{
    return channel(r, format->Rmask) | channel(g, format->Gmask) | channel(b, format->Bmask);
}

int SDL_LockSurface(SDL_Surface*)
{
    return 0;
}
void SDL_UnlockSurface(SDL_Surface*) {}
int SDL_Flip(SDL_Surface*)
{
    return 0;
}

}   // extern "C"
