// The picture tunnel: six turned copies of the two tunnel pictures, each scaled for its
// own depth, drawn through draw_picture with a point transform of our own.
#include "effects/effects.h"

#include "pictures/picture_walk.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

float tunnel_angle;
std::int32_t tunnel_matrix[4];
std::int32_t tunnel_copy;
std::int32_t tunnel_depth;

namespace {

constexpr std::int32_t copy_count = 6;
constexpr std::int32_t fixed_depth_copy = 5;   // always drawn small, on top
constexpr std::int32_t tunnel_length = 1000;
constexpr std::int32_t copy_spacing = 200;

std::int32_t to_fraction14(double value)
{
    return static_cast<std::int32_t>(value * 16384.0);
}

void set_tunnel_rotation(std::int32_t time)
{
    // The angle passes through single precision; the cosine and sine then widen it.
    tunnel_angle = static_cast<float>(static_cast<double>(time) * 0.001);
    const double c = std::cos(static_cast<double>(tunnel_angle));
    const double s = std::sin(static_cast<double>(tunnel_angle));
    tunnel_matrix[0] = to_fraction14(c);
    tunnel_matrix[1] = to_fraction14(-s);
    tunnel_matrix[2] = to_fraction14(s);
    tunnel_matrix[3] = to_fraction14(c);
}

// Depth of a copy along the cycle. Times from -100000 on give a non-negative distance
// and a plain remainder; earlier times still wrap into 0..999, so that the perspective
// divisor never reaches zero.
std::int32_t depth_along_tunnel(std::int64_t distance)
{
    const std::int64_t depth = distance % tunnel_length;
    return static_cast<std::int32_t>(depth < 0 ? depth + tunnel_length : depth);
}

// Products of a 14-bit fraction and a 16.16 coordinate stay in 32 bits for the
// picture range; they are formed in 64 bits so that no point can overflow them.
std::int64_t scaled14(std::int64_t factor, std::int32_t value)
{
    return (factor * value) >> 14;
}

// The perspective divides every point by the copy's distance, 90 to 1089. A division
// is slow next to the rest of the transform, so for numerators below 2^27 in size it
// becomes a multiplication by ceil(2^38 / distance) and a shift: with e the rounding
// excess of that multiplier (e < distance < 2^11), the error n * e / 2^38 stays below
// 1 / distance and the truncated quotient comes out exact.
constexpr std::int64_t nearest_distance = 90;
constexpr std::int64_t farthest_distance = 1089;
constexpr int reciprocal_shift = 38;
constexpr std::int64_t reciprocal_numerator_limit = std::int64_t{1} << 27;

constexpr auto distance_reciprocals = [] {
    std::array<std::uint32_t, farthest_distance - nearest_distance + 1> table{};
    for (std::int64_t d = nearest_distance; d <= farthest_distance; ++d) {
        const std::uint64_t power = std::uint64_t{1} << reciprocal_shift;
        const std::uint64_t distance = static_cast<std::uint64_t>(d);
        table[static_cast<std::size_t>(d - nearest_distance)] =
            static_cast<std::uint32_t>((power + distance - 1) / distance);
    }
    return table;
}();

bool within_table(std::int64_t numerator)
{
    return numerator > -reciprocal_numerator_limit && numerator < reciprocal_numerator_limit;
}

// numerator / distance truncated towards zero, for a numerator within the table's
// range and the distance's reciprocal.
std::int64_t divide_by_reciprocal(std::int64_t numerator, std::uint64_t reciprocal)
{
    const std::uint64_t magnitude = static_cast<std::uint64_t>(numerator < 0 ? -numerator : numerator);
    const auto quotient = static_cast<std::int64_t>((magnitude * reciprocal) >> reciprocal_shift);
    return numerator < 0 ? -quotient : quotient;
}

// Picture points lie within +-65536 and a turn's entries within +-16384. Then every
// product of the transform fits in 32 bits: a turned coordinate within +-2^17, times
// 400 within the reciprocal table's range, the quotient times 100 below 2^31.
constexpr std::int32_t picture_reach = 65536;
constexpr std::int32_t unit_turn = 16384;

bool within(std::int64_t value, std::int64_t reach)
{
    return value >= -reach && value <= reach;
}

// n / distance truncated towards zero through the distance's reciprocal, for |n| < 2^27.
std::int32_t divide_narrow(std::int32_t numerator, std::uint64_t reciprocal)
{
    const std::uint32_t magnitude =
        numerator < 0 ? 0u - static_cast<std::uint32_t>(numerator) : static_cast<std::uint32_t>(numerator);
    const auto quotient = static_cast<std::int32_t>((magnitude * reciprocal) >> reciprocal_shift);
    return numerator < 0 ? -quotient : quotient;
}

// One copy's transform with everything that is the same for all its points worked out
// once: the turn, the distance and, when the table has it, the distance's reciprocal.
struct CopyTransform {
    std::int64_t m00, m01, m10, m11;
    std::int64_t distance;
    std::uint64_t reciprocal;   // 0: divide
    bool narrow;                // the turn is a true one and the distance in the table

    // For a narrow transform and a point within the picture range.
    void narrow_point(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y) const
    {
        const auto a = static_cast<std::int32_t>(m00);
        const auto b = static_cast<std::int32_t>(m01);
        const auto c = static_cast<std::int32_t>(m10);
        const auto d = static_cast<std::int32_t>(m11);
        const std::int32_t turned_x = ((a * x) >> 14) + ((b * y) >> 14);
        const std::int32_t turned_y = ((c * x) >> 14) + ((d * y) >> 14);
        const std::int32_t near_x = divide_narrow(turned_x * 400, reciprocal);
        const std::int32_t near_y = divide_narrow(turned_y * 400, reciprocal);
        *out_x = ((near_x * 100) >> 14) + 640;
        *out_y = 400 - ((near_y * 100) >> 14);
    }

    void operator()(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y) const
    {
        if (narrow && within(x, picture_reach) && within(y, picture_reach)) {
            narrow_point(x, y, out_x, out_y);
            return;
        }
        const std::int64_t turned_x = scaled14(m00, x) + scaled14(m01, y);
        const std::int64_t turned_y = scaled14(m10, x) + scaled14(m11, y);
        std::int64_t near_x = turned_x * 400;
        std::int64_t near_y = turned_y * 400;
        if (reciprocal != 0 && within_table(near_x) && within_table(near_y)) {
            near_x = divide_by_reciprocal(near_x, reciprocal);
            near_y = divide_by_reciprocal(near_y, reciprocal);
        } else {
            near_x /= distance;
            near_y /= distance;
        }
        *out_x = static_cast<std::int32_t>(((near_x * 100) >> 14) + 640);
        *out_y = static_cast<std::int32_t>(400 - ((near_y * 100) >> 14));
    }
};

// The transform of the copy that the tunnel globals describe.
CopyTransform current_copy_transform()
{
    const std::int64_t distance = tunnel_copy == fixed_depth_copy ? 1080 : std::int64_t{tunnel_depth} + 90;
    const bool tabled = distance >= nearest_distance && distance <= farthest_distance;
    const bool turn = within(tunnel_matrix[0], unit_turn) && within(tunnel_matrix[1], unit_turn) &&
                      within(tunnel_matrix[2], unit_turn) && within(tunnel_matrix[3], unit_turn);
    return {tunnel_matrix[0],
            tunnel_matrix[1],
            tunnel_matrix[2],
            tunnel_matrix[3],
            distance,
            tabled ? distance_reciprocals[static_cast<std::size_t>(distance - nearest_distance)] : 0,
            tabled && turn};
}

// A picture's triangles share their corners: a corner is on three triangles on
// average, and each copy would transform it each time. The table lists the picture's
// distinct corners and, for every corner the drawing visits, which of them it is, so
// that each copy transforms every distinct corner once and its triangles pick theirs
// by number. Before each frame the table is checked against the picture, corner by
// corner, and built again if another picture took its place or the picture changed.
// A picture with more corners than the table holds has the rest transformed directly.
constexpr std::size_t corner_capacity = 2048;
constexpr std::size_t visit_capacity = 3 * corner_capacity;
constexpr std::size_t hash_slots = 2 * corner_capacity;   // a power of two

struct CornerTable {
    const Picture* picture;   // built from this one, or none
    std::int32_t corner_count;
    std::int32_t visit_count;
    bool complete;                               // every visit is listed
    bool within_reach;                           // every corner within +-65536
    std::int32_t corners[2 * corner_capacity];   // x, y of each distinct corner
    std::uint16_t visits[visit_capacity];        // corner of each visit, in order
    std::int32_t visited[2 * visit_capacity];    // x, y of each visit, in order
};

CornerTable corner_tables[2];   // the even copies' picture, the odd copies'

std::size_t hash_slot(std::int32_t x, std::int32_t y)
{
    const std::uint64_t key =
        (std::uint64_t{static_cast<std::uint32_t>(x)} << 32) | static_cast<std::uint32_t>(y);
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15u) >> 51) & (hash_slots - 1);
}

void build_corner_table(const Picture* picture, CornerTable& table)
{
    // Corner number + 1 in each slot, 0 for none.
    static std::uint16_t slots[hash_slots];
    std::fill(std::begin(slots), std::end(slots), std::uint16_t{0});
    table.picture = picture;
    table.corner_count = 0;
    table.visit_count = 0;
    bool full = false;
    visit_corners(picture, [&](std::int32_t x, std::int32_t y) {
        if (full || table.visit_count == static_cast<std::int32_t>(visit_capacity)) {
            full = true;
            return;
        }
        std::size_t slot = hash_slot(x, y);
        while (slots[slot] != 0) {
            const std::int32_t corner = slots[slot] - 1;
            if (table.corners[2 * corner] == x && table.corners[2 * corner + 1] == y)
                break;
            slot = (slot + 1) & (hash_slots - 1);
        }
        if (slots[slot] == 0) {
            if (table.corner_count == static_cast<std::int32_t>(corner_capacity)) {
                full = true;
                return;
            }
            table.corners[2 * table.corner_count] = x;
            table.corners[2 * table.corner_count + 1] = y;
            slots[slot] = static_cast<std::uint16_t>(++table.corner_count);
        }
        table.visited[2 * table.visit_count] = x;
        table.visited[2 * table.visit_count + 1] = y;
        table.visits[table.visit_count++] = static_cast<std::uint16_t>(slots[slot] - 1);
    });
    table.complete = !full;
    table.within_reach = true;
    for (std::int32_t c = 0; c < 2 * table.corner_count; ++c)
        table.within_reach = table.within_reach && within(table.corners[c], picture_reach);
}

// Whether the table still describes the picture: the same corners visited in the
// same order. A complete table compares each shape's triangles with its copy of them
// in one block.
bool table_matches(const Picture* picture, const CornerTable& table)
{
    if (table.complete) {
        std::size_t at = 0;
        const auto listed = 2 * static_cast<std::size_t>(table.visit_count);
        for (const Shape* shape = picture->shapes; shape; shape = shape->next) {
            if (!(shape->flags & 2))
                continue;
            const std::size_t values = 6 * picture_walk::drawn_triangles(*shape);
            if (values > listed - at ||
                (values > 0 && std::memcmp(shape->triangles.data(), table.visited + at,
                                           values * sizeof(std::int32_t)) != 0))
                return false;
            at += values;
        }
        return at == listed;
    }
    std::int32_t visit = 0;
    bool same = true;
    visit_corners(picture, [&](std::int32_t x, std::int32_t y) {
        if (visit < table.visit_count)
            same = same && table.visited[2 * visit] == x && table.visited[2 * visit + 1] == y;
        ++visit;
    });
    return same && visit >= table.visit_count;
}

void prepare_corner_table(const Picture* picture, CornerTable& table)
{
    if (picture && (table.picture != picture || !table_matches(picture, table)))
        build_corner_table(picture, table);
}

// The corner transform of one copy: the corner's entry while the table lists the
// visits, the transform itself beyond them.
struct PlacedCorners {
    const CornerTable& table;
    const std::int32_t* placed;   // x, y of each distinct corner on the screen
    const CopyTransform& transform;
    std::int32_t next_visit;

    void operator()(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y)
    {
        const std::int32_t visit = next_visit++;
        if (visit < table.visit_count) {
            const std::int32_t corner = table.visits[visit];
            *out_x = placed[2 * corner];
            *out_y = placed[2 * corner + 1];
            return;
        }
        transform(x, y, out_x, out_y);
    }
};

// The fill of a copy whose table lists every visit and whose corners all landed in
// the fill's 32-bit range: each corner's row was worked out when it was placed, and the
// triangles take their corners by number, three visits each, in the walk's order.
struct PlacedTriangles {
    const std::uint16_t* next_visit;
    const triangle_fill_detail::Vertex* vertices;   // of each distinct corner

    void operator()(const Shape& shape, std::uint8_t* buffer)
    {
        const std::size_t count = picture_walk::drawn_triangles(shape);
        const auto colour = static_cast<std::uint8_t>(shape.fill_colour);
        for (std::size_t t = 0; t < count; ++t, next_visit += 3)
            fill_vertices_inline(buffer, vertices[next_visit[0]], vertices[next_visit[1]],
                                 vertices[next_visit[2]], colour);
    }
};

// draw_picture with tunnel_transform, each distinct corner transformed once and the
// transform inlined.
void draw_copy(const Picture* picture, std::uint8_t* buffer, CopyTransform transform, CornerTable& table)
{
    // Checked once for the whole table, not per corner. A true turn of a picture-range
    // point at a tabled distance lands within a few thousand quarter pixels of the
    // screen, well inside the fill's 32-bit range.
    if (transform.narrow && table.within_reach && table.complete) {
        static triangle_fill_detail::Vertex vertices[corner_capacity];
        for (std::int32_t c = 0; c < table.corner_count; ++c) {
            std::int32_t x;
            std::int32_t y;
            transform.narrow_point(table.corners[2 * c], table.corners[2 * c + 1], &x, &y);
            vertices[c] = {triangle_fill_detail::rounded_16_16<std::int32_t>(x),
                           triangle_fill_detail::row_of(y)};
        }
        PlacedTriangles triangles{table.visits, vertices};
        draw_picture_filling(picture, buffer, triangles, transform);
        return;
    }
    static std::int32_t placed[2 * corner_capacity];
    if (transform.narrow && table.within_reach) {
        for (std::int32_t c = 0; c < table.corner_count; ++c)
            transform.narrow_point(table.corners[2 * c], table.corners[2 * c + 1], &placed[2 * c],
                                   &placed[2 * c + 1]);
    } else {
        for (std::int32_t c = 0; c < table.corner_count; ++c)
            transform(table.corners[2 * c], table.corners[2 * c + 1], &placed[2 * c], &placed[2 * c + 1]);
    }
    PlacedCorners corners{table, placed, transform, 0};
    draw_picture_with(picture, buffer, corners, transform);
}

}   // namespace

void tunnel_transform(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y)
{
    current_copy_transform()(x, y, out_x, out_y);
}

void draw_picture_tunnel(std::uint8_t* buffer, std::int32_t time)
{
    set_tunnel_rotation(time);
    prepare_corner_table(tunnel_picture2, corner_tables[0]);
    prepare_corner_table(tunnel_picture, corner_tables[1]);
    std::int64_t distance = std::int64_t{time} + 100000;
    tunnel_copy = 0;
    for (std::int32_t i = 0; i < copy_count; ++i) {
        tunnel_depth = depth_along_tunnel(distance);
        const Picture* picture = i % 2 == 0 ? tunnel_picture2 : tunnel_picture;
        // Start-up refuses to run without both pictures; called before they are
        // loaded, the tunnel leaves those copies out instead of following a null.
        if (picture)
            draw_copy(picture, buffer, current_copy_transform(), corner_tables[i % 2]);
        distance += copy_spacing;
        ++tunnel_copy;
    }
}
