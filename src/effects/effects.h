// Effects: the ring tunnel, the picture tunnel, the four-way mirror and the block zoom,
// with the tables they build once at start-up.
#pragma once

#include <cstdint>

extern std::int16_t sqrt_table[90000];
void build_sqrt_table();
void fill_span(std::int32_t x_left, std::int32_t x_right, std::int32_t row, std::uint8_t* buffer,
               std::uint8_t colour);
struct RingPlacement {
    std::int32_t cx, cy, s;
};   // centre and hole shift of one ring
RingPlacement place_ring(std::int32_t radius, std::int32_t time, std::int32_t mode);
void draw_rings(std::uint8_t* buffer, std::int32_t time, std::int32_t ring_width, std::int32_t mode,
                std::uint8_t colour);

extern float tunnel_angle;
extern std::int32_t tunnel_matrix[4];   // m00, m01, m10, m11, 14 fraction bits
extern std::int32_t tunnel_copy;
extern std::int32_t tunnel_depth;
void draw_picture_tunnel(std::uint8_t* buffer, std::int32_t time);
void tunnel_transform(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y);

extern std::int32_t zoom_map[64000];
void mirror_quadrants(std::uint8_t* buffer, std::int32_t width, std::int32_t height);
void build_zoom_map(std::int32_t block);
void apply_zoom_map(const std::uint8_t* source, std::uint8_t* destination);
