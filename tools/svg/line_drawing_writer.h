// Writes a drawing's strokes as a line drawing for the demo: polylines of points in the
// text format the demo reads (point count, then x y pairs; -1 ends the file), mapped so
// that the viewBox fills the visible 320 x 200 area, file x 0-2559 and y 208-1807.
#pragma once

#include "diagnostics.h"
#include "svg_drawing.h"

#include <string>

constexpr int line_drawing_polylines = 1000;

struct LineDrawingSummary {
    int polylines = 0;
    int segments = 0;
};

// Quarter-pixel screen position of a user point (before rounding).
Point line_drawing_point(const SvgDrawing& drawing, Point user);

// With drawing.segments above 0, the strokes are cut so that the whole drawing has
// exactly that many segments, each about as long as the others: the demo draws one
// segment per time step, so the pen then moves at an even speed.
bool write_line_drawing(const SvgDrawing& drawing, std::string& out, LineDrawingSummary& summary,
                        Diagnostics& diagnostics);
