// Text pictures: line drawings stored as integers, drawn a range of segments at a time
// so that a drawing builds up stroke by stroke over several frames.
#include "pictures/file_scan.h"
#include "pictures/line_plot.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <cerrno>
#include <cstdio>
#include <new>

namespace {

constexpr std::int32_t polyline_capacity = 1000;
constexpr std::int32_t text_line_width = 2;

// Halved with an arithmetic shift; y also lowered by 104; both kept as 16-bit values.
std::int16_t stored_value(std::int32_t value, bool is_y)
{
    const auto half = static_cast<std::int16_t>(value >> 1);
    return is_y ? static_cast<std::int16_t>(half - 104) : half;
}

// Reads up to count points of one polyline; the end of the file or a word that is no
// number ends it early with the complete points read.
void read_polyline(std::FILE* file, std::vector<std::int16_t>* points, std::int32_t count)
{
    for (std::int32_t k = 0; k < count; ++k) {
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (!read_integer(file, &x) || !read_integer(file, &y))
            return;
        points->push_back(stored_value(x, false));
        points->push_back(stored_value(y, true));
    }
}

// A count of -1 ends the file; so does anything that is not a count at all.
void read_polylines(std::FILE* file, TextPicture* picture)
{
    std::int32_t count = 0;
    while (picture->polyline_count < polyline_capacity && read_integer(file, &count) && count >= 0) {
        const std::int32_t slot = picture->polyline_count++;
        read_polyline(file, &picture->points[slot], count);
        picture->point_counts[slot] = static_cast<std::int32_t>(picture->points[slot].size() / 2);
    }
}

}   // namespace

TextPicture* load_text_picture(const char* file_name)
{
    auto* picture = new (std::nothrow) TextPicture{};
    if (!picture) {
        note_load_failure("out of memory");
        return nullptr;
    }
    std::FILE* file = std::fopen(file_name, "rb");
    if (!file) {
        note_open_failure(errno);
        delete picture;
        return nullptr;
    }
    try {
        read_polylines(file, picture);
        // A read that failed looks like the end of the file; it is no drawing.
        if (std::ferror(file)) {
            note_load_failure("cannot read the file");
            delete picture;
            picture = nullptr;
        }
    } catch (const std::bad_alloc&) {
        note_load_failure("out of memory");
        delete picture;
        picture = nullptr;
    }
    std::fclose(file);
    return picture;
}

void draw_text_line(std::uint8_t* buffer, const std::int32_t* segment, std::int32_t width,
                    std::uint8_t colour)
{
    if (segment[0] == segment[2] && segment[1] == segment[3]) {
        // A dot still gets the line's width, spread along the row.
        plot_pixel_run(buffer, pixel_of(std::int64_t{segment[0]} - 2 * std::int64_t{width}),
                       pixel_of(segment[1]), width, true, colour);
        return;
    }
    draw_line_between(buffer, segment, width, colour);
}

// Segments are numbered across the whole picture, polyline after polyline.
void draw_text_picture(std::uint8_t* buffer, const TextPicture* picture, std::int32_t first,
                       std::int32_t last, std::uint8_t colour)
{
    std::int64_t number = 0;
    for (std::int32_t p = 0; p < picture->polyline_count && p < polyline_capacity; ++p) {
        const std::int64_t segments = std::int64_t{picture->point_counts[p]} - 1;
        if (segments <= 0)
            continue;
        if (number + segments <= first) {
            number += segments;
            continue;
        }
        const std::int16_t* points = picture->points[p].data();
        const std::int64_t stored = static_cast<std::int64_t>(picture->points[p].size() / 2) - 1;
        for (std::int64_t s = 0; s < segments; ++s, ++number) {
            if (number > last)
                return;
            if (number < first || s >= stored)
                continue;
            const std::int32_t segment[4] = {points[2 * s], points[2 * s + 1], points[2 * s + 2],
                                             points[2 * s + 3]};
            draw_text_line(buffer, segment, text_line_width, colour);
        }
    }
}
