// Turns a filled shape's subpaths into simple polygons the picture loader can cut into
// triangles: the fill rule decides which subpaths are holes, and every hole is joined
// to the outline around it by a two-way bridge, so a ring becomes one polygon.
#pragma once

#include "svg_geometry.h"

#include <vector>

struct FillPolygons {
    std::vector<std::vector<Point>> polygons;   // counter-clockwise (y up), not closed
    int unjoined_holes = 0;                     // holes no bridge could reach: left open
    int empty_rings = 0;                        // subpaths enclosing no area: nothing to fill
};

// Outlines in y-up coordinates, every subpath taken as closed.
FillPolygons fill_polygons(const std::vector<std::vector<Point>>& outlines, bool even_odd);
