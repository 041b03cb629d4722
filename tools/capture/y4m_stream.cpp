#include "y4m_stream.h"

namespace {

std::uint8_t luma(std::int32_t r, std::int32_t g, std::int32_t b)
{
    return static_cast<std::uint8_t>(16 + ((66 * r + 129 * g + 25 * b + 128) >> 8));
}

std::uint8_t blue_difference(std::int32_t r, std::int32_t g, std::int32_t b)
{
    return static_cast<std::uint8_t>(128 + ((-38 * r - 74 * g + 112 * b + 128) >> 8));
}

std::uint8_t red_difference(std::int32_t r, std::int32_t g, std::int32_t b)
{
    return static_cast<std::uint8_t>(128 + ((112 * r - 94 * g - 18 * b + 128) >> 8));
}

void convert_luma(const SDL_Surface* surface, std::uint8_t* plane)
{
    for (int y = 0; y < capture_height; ++y) {
        const std::uint32_t* row = screen_row(surface, y);
        std::uint8_t* out = plane + y * capture_width;
        for (int x = 0; x < capture_width; ++x) {
            const std::uint32_t p = row[x];
            out[x] = luma((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
        }
    }
}

void convert_chroma(const SDL_Surface* surface, std::uint8_t* cb_plane, std::uint8_t* cr_plane)
{
    constexpr int chroma_width = capture_width / 2;
    for (int y = 0; y < capture_height / 2; ++y) {
        const std::uint32_t* upper = screen_row(surface, 2 * y);
        const std::uint32_t* lower = screen_row(surface, 2 * y + 1);
        for (int x = 0; x < chroma_width; ++x) {
            const std::uint32_t block[4] = {upper[2 * x], upper[2 * x + 1], lower[2 * x],
                                            lower[2 * x + 1]};
            std::int32_t r = 0, g = 0, b = 0;
            for (const std::uint32_t p : block) {
                r += (p >> 16) & 0xff;
                g += (p >> 8) & 0xff;
                b += p & 0xff;
            }
            // Rounded means of the four pixels.
            r = (r + 2) / 4;
            g = (g + 2) / 4;
            b = (b + 2) / 4;
            cb_plane[y * chroma_width + x] = blue_difference(r, g, b);
            cr_plane[y * chroma_width + x] = red_difference(r, g, b);
        }
    }
}

}  // namespace

YuvColour rgb_to_yuv(std::int32_t r, std::int32_t g, std::int32_t b)
{
    return {luma(r, g, b), blue_difference(r, g, b), red_difference(r, g, b)};
}

bool write_y4m_header(std::FILE* out, std::int32_t fps)
{
    return std::fprintf(out, "YUV4MPEG2 W%d H%d F%d:1 Ip A1:1 C420jpeg\n", capture_width,
                        capture_height, fps) > 0;
}

void convert_to_yuv420(const SDL_Surface* surface, std::uint8_t* planes)
{
    constexpr int luma_bytes = capture_width * capture_height;
    convert_luma(surface, planes);
    convert_chroma(surface, planes + luma_bytes, planes + luma_bytes + luma_bytes / 4);
}

bool write_y4m_frame(std::FILE* out, const std::uint8_t* planes)
{
    return std::fputs("FRAME\n", out) >= 0 &&
           std::fwrite(planes, 1, yuv_frame_bytes, out) == static_cast<std::size_t>(yuv_frame_bytes);
}
