// Whether the demo's own ear clipping covers a polygon exactly, so that no written
// polygon is left without its triangles (or with triangles outside it).
#pragma once

#include "svg_geometry.h"

#include <vector>

// The ring in file coordinates (whole numbers), without the repeated closing point.
bool triangulates_exactly(const std::vector<Point>& ring);
