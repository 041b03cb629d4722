// Pictures and text: the clear-text CGM picture loader, the quarter-pixel rasterizer,
// the bitmap font with its captions, and the line drawings ("text pictures").
#pragma once

#include <cstdint>
#include <vector>

struct Shape {
    std::int32_t flags;         // 1 = outline, 2 = fill
    std::int32_t line_width;    // pixels
    std::int32_t fill_colour;   // palette position
    std::int32_t line_colour;   // palette position
    std::int32_t triangle_count;
    std::int32_t point_count;
    std::vector<std::int32_t> points;      // point_count pairs x, y (16.16, centred)
    std::vector<std::int32_t> triangles;   // triangle_count groups x0, y0, x1, y1, x2, y2
    Shape* next;                           // following shape in file order, or nullptr
};

struct Picture {
    std::uint32_t palette[200];   // 0x00RRGGBB; entry 0 is 0
    std::int32_t colour_count;
    std::uint32_t background_colour;
    Shape* shapes;   // first shape, or nullptr
};

Picture* load_picture(const char* file_name);   // nullptr on failure
int load_effect_pictures();                     // non-zero when both loaded
extern Picture* tunnel_picture;                 // "data/blinq.cgm"
extern Picture* tunnel_picture2;                // "data/blinq2.cgm"

// Ear clipping in place on n points (x, y pairs); returns the triangles, six values
// each, or an empty vector when n < 3 or the clipping failed.
std::vector<std::int32_t> triangulate_polygon(std::int32_t n, std::int32_t* points);

using PointTransform = void (*)(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y);
extern std::int32_t picture_scale;
extern std::int32_t picture_offset_x;
extern std::int32_t picture_offset_y;
void screen_transform(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y);
void draw_picture(const Picture* picture, std::uint8_t* buffer, PointTransform transform);
void fill_triangle(std::uint8_t* buffer, const std::int32_t* triangle, std::uint8_t colour);
void draw_wide_line(std::uint8_t* buffer, const std::int32_t* segment, std::int32_t width,
                    std::uint8_t colour);
void plot_subpixel(std::uint8_t* buffer, std::int32_t x, std::int32_t y, std::uint8_t colour);

int load_font(const char* file_name);   // 0, or -1 when it cannot be opened
void draw_glyph(std::uint8_t* buffer, std::int32_t x, std::int32_t y, char character, std::int32_t frame,
                std::uint8_t colour);
void draw_caption(std::uint8_t* buffer, std::int32_t x, std::int32_t y, const char* text,
                  std::int32_t centred, std::int32_t time, std::uint8_t colour);

struct TextPicture {
    std::int32_t polyline_count;
    std::vector<std::int16_t> points[1000];   // polyline i: point_counts[i] pairs x, y
    std::int32_t point_counts[1000];
};
TextPicture* load_text_picture(const char* file_name);   // nullptr on failure
void draw_text_picture(std::uint8_t* buffer, const TextPicture* picture, std::int32_t first,
                       std::int32_t last, std::uint8_t colour);
void draw_text_line(std::uint8_t* buffer, const std::int32_t* segment, std::int32_t width,
                    std::uint8_t colour);
