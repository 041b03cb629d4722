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

// Screens are mostly runs of one colour: remember the last conversion and reuse it.
struct LumaMemo {
    std::uint32_t pixel = 0;
    std::uint8_t value = 16;   // the luma of black, pixel 0
};

struct ChromaMemo {
    std::uint32_t block[4] = {0, 0, 0, 0};
    std::uint8_t cb = 128, cr = 128;   // black's
};

std::uint8_t luma_of(std::uint32_t p, LumaMemo& memo)
{
    if (p != memo.pixel) {
        memo.pixel = p;
        memo.value = luma((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    return memo.value;
}

// Chroma of a 2x2 block from the rounded means of its four pixels.
void chroma_of(const std::uint32_t (&block)[4], ChromaMemo& memo)
{
    if (block[0] == memo.block[0] && block[1] == memo.block[1] && block[2] == memo.block[2] &&
        block[3] == memo.block[3])
        return;
    std::int32_t r = 2, g = 2, b = 2;
    for (const std::uint32_t p : block) {
        r += (p >> 16) & 0xff;
        g += (p >> 8) & 0xff;
        b += p & 0xff;
    }
    for (int i = 0; i < 4; ++i)
        memo.block[i] = block[i];
    memo.cb = blue_difference(r / 4, g / 4, b / 4);
    memo.cr = red_difference(r / 4, g / 4, b / 4);
}

// Where the rows of the three planes of one frame start.
struct PlaneRows {
    std::uint8_t* luma;
    std::uint8_t* cb;
    std::uint8_t* cr;
};

PlaneRows plane_rows(std::uint8_t* planes, int width, int height)
{
    std::uint8_t* cb = planes + static_cast<std::size_t>(width) * height;
    return {planes, cb, cb + static_cast<std::size_t>(width / 2) * (height / 2)};
}

// Rows 2y and 2y + 1 of the frame, `width` pixels each, into the luma plane and row y
// of both chroma planes.
void convert_row_pair(const std::uint32_t* upper, const std::uint32_t* lower, int width,
                      const PlaneRows& rows, int y)
{
    LumaMemo upper_memo, lower_memo;   // bright and dimmed lines differ, so one each
    ChromaMemo chroma_memo;
    std::uint8_t* upper_luma = rows.luma + static_cast<std::size_t>(2 * y) * width;
    std::uint8_t* lower_luma = upper_luma + width;
    std::uint8_t* cb = rows.cb + static_cast<std::size_t>(y) * (width / 2);
    std::uint8_t* cr = rows.cr + static_cast<std::size_t>(y) * (width / 2);
    for (int x = 0; x < width / 2; ++x) {
        const std::uint32_t block[4] = {upper[2 * x], upper[2 * x + 1], lower[2 * x], lower[2 * x + 1]};
        upper_luma[2 * x] = luma_of(block[0], upper_memo);
        upper_luma[2 * x + 1] = luma_of(block[1], upper_memo);
        lower_luma[2 * x] = luma_of(block[2], lower_memo);
        lower_luma[2 * x + 1] = luma_of(block[3], lower_memo);
        chroma_of(block, chroma_memo);
        cb[x] = chroma_memo.cb;
        cr[x] = chroma_memo.cr;
    }
}

// Two rows of an enlarged frame at a time, the only ones it needs at once.
std::uint32_t upper_row[largest_scaled_width];
std::uint32_t lower_row[largest_scaled_width];

}   // namespace

YuvColour rgb_to_yuv(std::int32_t r, std::int32_t g, std::int32_t b)
{
    return {luma(r, g, b), blue_difference(r, g, b), red_difference(r, g, b)};
}

std::size_t yuv_frame_size(const FrameScale& scale)
{
    return static_cast<std::size_t>(scale.width) * scale.height * 3 / 2;
}

bool write_y4m_header(std::FILE* out, std::int32_t fps, const FrameScale& scale)
{
    return std::fprintf(out, "YUV4MPEG2 W%d H%d F%d:1 Ip A1:1 C420jpeg\n", scale.width, scale.height, fps) >
           0;
}

void convert_to_yuv420(const SDL_Surface* surface, std::uint8_t* planes)
{
    const PlaneRows rows = plane_rows(planes, capture_width, capture_height);
    for (int y = 0; y < capture_height / 2; ++y)
        convert_row_pair(screen_row(surface, 2 * y), screen_row(surface, 2 * y + 1), capture_width, rows, y);
}

void convert_scaled_to_yuv420(const SDL_Surface* surface, const FrameScale& scale, std::uint8_t* planes)
{
    if (scale.block == screen_block) {
        convert_to_yuv420(surface, planes);
        return;
    }
    const PlaneRows rows = plane_rows(planes, scale.width, scale.height);
    for (int y = 0; y < scale.height / 2; ++y) {
        scaled_screen_row(surface, scale, 2 * y, upper_row);
        scaled_screen_row(surface, scale, 2 * y + 1, lower_row);
        convert_row_pair(upper_row, lower_row, scale.width, rows, y);
    }
}

bool write_y4m_frame(std::FILE* out, const std::uint8_t* planes, std::size_t bytes)
{
    return std::fputs("FRAME\n", out) >= 0 && std::fwrite(planes, 1, bytes, out) == bytes;
}
