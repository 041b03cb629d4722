// The state of one clear-text CGM load, shared by the loader's parts: the element
// attributes in force, the next free palette position and the bounding box so far.
#pragma once

#include "pictures/pictures.h"

#include <cstdint>
#include <cstdio>

struct BoundingBox {
    std::int32_t min_x;
    std::int32_t min_y;
    std::int32_t max_x;
    std::int32_t max_y;
};

struct CgmReader {
    std::FILE* file;
    Picture* picture;
    Shape* last_shape;
    std::int32_t fill_colour;
    std::int32_t line_colour;
    std::int32_t line_width;
    bool fill_on;
    bool edges_visible;
    std::int32_t next_position;
    BoundingBox box;
};

enum class ShapeKind { polygon, line, rect };

// cgm_colours.cpp
void read_first_colour_table(CgmReader* reader);
void read_colour_entry(CgmReader* reader);
void read_background(CgmReader* reader);
void select_colour(std::FILE* file, std::int32_t* colour);

// cgm_shapes.cpp
void read_shape(CgmReader* reader, ShapeKind kind);
void normalise_picture(Picture* picture, const BoundingBox& box);
