// Writes a drawing as the clear-text CGM the demo's picture loader reads: one colour
// table, then filled polygons and stroked lines in document order.
#pragma once

#include "diagnostics.h"
#include "svg_drawing.h"

#include <string>

struct CgmSummary {
    int colours = 0;
    int polygons = 0;
    int lines = 0;
    int largest_element = 0;   // points
};

// The picture's coordinates: the viewBox's longer side spans this many file units,
// centred on 0, y up. The loader scales the picture by its bounding box, so every file
// starts with an invisible line (width 0) across the viewBox that makes the viewBox the
// picture's frame, whatever the shapes cover.
constexpr double cgm_long_side = 16000;
constexpr int cgm_element_points = 500;
constexpr int cgm_colours = 99;

Point cgm_point(const SvgDrawing& drawing, Point user);

// False when a limit is broken (errors reported); out holds the file otherwise.
bool write_cgm(const SvgDrawing& drawing, const std::string& name, std::string& out, CgmSummary& summary,
               Diagnostics& diagnostics);
