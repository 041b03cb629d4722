// tinkettles-preview: draws a CGM picture or a text picture into a PNG file, at the
// demo's 320 x 200 or enlarged through the demo's own presentation, so that pictures
// can be checked while they are being made.
#include "frame/frame.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"
#include "png_file.h"
#include "preview_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int frame_width = 320;
constexpr int frame_height = 200;
constexpr int screen_width = 640;
constexpr int screen_height = 480;
constexpr std::uint8_t text_ink = 1;

struct Drawing {
    FrameBuffer pixels;
    std::uint32_t palette[256];
};

bool draw_cgm(const PreviewOptions& options, Drawing* drawing)
{
    Picture* picture = load_picture(options.input);
    if (!picture)
        return false;
    for (int i = 0; i < 200; ++i)
        drawing->palette[i] = picture->palette[i];
    picture_scale = options.scale;
    picture_offset_x = options.offset_x;
    picture_offset_y = options.offset_y;
    draw_picture(picture, drawing->pixels.data(), screen_transform);
    free_picture(picture);
    return true;
}

bool draw_text(const PreviewOptions& options, Drawing* drawing)
{
    TextPicture* picture = load_text_picture(options.input);
    if (!picture)
        return false;
    drawing->palette[text_ink] = 0xFFFFFF;
    const std::int32_t last = options.segments < 0 ? INT32_MAX : options.segments - 1;
    draw_text_picture(drawing->pixels.data(), picture, 0, last, text_ink);
    free_text_picture(picture);
    return true;
}

// Shows the frame with present_frame on a dummy SDL display and copies the screen out.
bool present_to_rgb(const Drawing& drawing, std::vector<std::uint8_t>* rgb)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "tinkettles-preview: SDL_Init failed: %s\n", SDL_GetError());
        return false;
    }
    screen = SDL_SetVideoMode(screen_width, screen_height, 32, SDL_SWSURFACE);
    if (!screen || screen->format->BytesPerPixel != 4) {
        std::fprintf(stderr, "tinkettles-preview: no 640x480x32 surface: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    std::memset(screen->pixels, 0, static_cast<std::size_t>(screen->pitch) * screen_height);
    for (int i = 0; i < 256; ++i)
        set_colour(i, static_cast<int>(drawing.palette[i] >> 16 & 0xff),
                   static_cast<int>(drawing.palette[i] >> 8 & 0xff),
                   static_cast<int>(drawing.palette[i] & 0xff));
    display_buffer = const_cast<std::uint8_t*>(drawing.pixels.data());
    present_frame();
    rgb->resize(static_cast<std::size_t>(screen_width) * screen_height * 3);
    const auto* pixels = static_cast<const std::uint8_t*>(screen->pixels);
    for (int y = 0; y < screen_height; ++y) {
        const auto* row =
            reinterpret_cast<const Uint32*>(pixels + static_cast<std::size_t>(y) * screen->pitch);
        for (int x = 0; x < screen_width; ++x) {
            std::uint8_t* out = rgb->data() + (static_cast<std::size_t>(y) * screen_width + x) * 3;
            SDL_GetRGB(row[x], screen->format, &out[0], &out[1], &out[2]);
        }
    }
    SDL_Quit();
    return true;
}

}   // namespace

int main(int argc, char** argv)
{
    PreviewOptions options;
    int status = 0;
    if (!parse_preview_options(argc, argv, &options, &status))
        return status;
    static Drawing drawing{};
    const bool loaded = options.text_picture ? draw_text(options, &drawing) : draw_cgm(options, &drawing);
    if (!loaded) {
        std::fprintf(stderr, "tinkettles-preview: %s: %s\n", options.input, picture_error);
        return 1;
    }
    std::vector<std::uint8_t> rgb;
    if (options.present && !present_to_rgb(drawing, &rgb))
        return 1;
    const PngPicture picture =
        options.present
            ? PngPicture{rgb.data(), screen_width, screen_height, nullptr, false}
            : PngPicture{drawing.pixels.data(), frame_width, frame_height, drawing.palette, false};
    PngFailure failure;
    if (write_png(options.output, picture, &failure))
        return 0;
    std::fprintf(stderr, "%s: %s\n", preview_program, failure.reason);
    return 1;
}
