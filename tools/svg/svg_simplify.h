// Thinning a closed polygon to a point budget, dropping the points that matter least.
#pragma once

#include "svg_geometry.h"

#include <vector>

// Keeps at most max_points of the ring's points (Douglas-Peucker with a growing
// tolerance); returns the largest distance a dropped point had from the result.
double simplify_ring(std::vector<Point>& ring, std::size_t max_points);
