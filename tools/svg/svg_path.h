// SVG path data ("d" attribute): every command, absolute and relative, flattened into
// polylines in the element's own user space.
#pragma once

#include "svg_geometry.h"

#include <string>
#include <string_view>
#include <vector>

// Appends one polyline per subpath. On bad data returns false with a message naming
// the offending command and its character position; the subpaths before it are kept.
bool parse_path_data(std::string_view data, double tolerance, std::vector<Polyline>& out, std::string& error);
