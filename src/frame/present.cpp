// The indexed frame buffers, their two colour tables and the enlargement of one
// 320x200 frame onto the 640x480 screen with darker odd lines.
#include "frame/frame.h"

#include "frame/calm.h"
#include "frame/present_kernels.h"
#include "pictures/pictures.h"

FrameBuffer work_buffer;
FrameBuffer overlay_buffer;
std::uint8_t* display_buffer = work_buffer.data();
std::uint32_t colour_table[256];
std::uint32_t dim_table[256];
std::int32_t demo_time;
SDL_Surface* screen;

namespace {

constexpr int first_screen_row = 40;

// Both tables again in the form the conversion reads: each index's 2x2 block in one
// 16-byte load.
PixelQuad quads[256];

}   // namespace

void set_colour(int index, int r, int g, int b)
{
    const Uint8 red = static_cast<Uint8>(r & 0xff);
    const Uint8 green = static_cast<Uint8>(g & 0xff);
    const Uint8 blue = static_cast<Uint8>(b & 0xff);
    const std::size_t entry = static_cast<std::size_t>(index & 0xff);
    colour_table[entry] = SDL_MapRGB(screen->format, red, green, blue);
    dim_table[entry] = SDL_MapRGB(screen->format, dimmed_level(red), dimmed_level(green), dimmed_level(blue));
    quads[entry] = {{colour_table[entry], colour_table[entry]}, {dim_table[entry], dim_table[entry]}};
}

void set_colours(int first, int count, const std::uint8_t* rgb)
{
    for (int i = 0; i < count; ++i)
        set_colour(first + i, rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
}

void set_picture_palette(const Picture* picture, int r, int g, int b, int count)
{
    for (int i = 1; i <= count && i < 128; ++i) {   // 128 + i stays a colour index
        const std::uint32_t colour = picture->palette[i];
        const int red = static_cast<int>((colour >> 16) & 0xff);
        const int green = static_cast<int>((colour >> 8) & 0xff);
        const int blue = static_cast<int>(colour & 0xff);
        set_colour(i, red, green, blue);
        set_colour(128 + i, (red + r) >> 1, (green + g) >> 1, (blue + b) >> 1);
    }
}

void convert_frame_to_screen()
{
    static const ConvertFrame convert = fastest_present_kernel().convert;
    SDL_LockSurface(screen);
    auto* pixels = static_cast<std::uint8_t*>(screen->pixels);
    const std::size_t pitch = screen->pitch;
    if (calm_presentation_on())
        present_calmly(display_buffer, pixels + first_screen_row * pitch, pitch, colour_table, dim_table,
                       screen->format, demo_time);
    else
        convert(display_buffer, pixels + first_screen_row * pitch, pitch, quads);
    SDL_UnlockSurface(screen);
}

void present_frame()
{
    convert_frame_to_screen();
    SDL_Flip(screen);
}
