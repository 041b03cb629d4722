// What the converter takes from an SVG document: its frame, the authoring hints on the
// root element and every painted shape, flattened, in document order.
#pragma once

#include "svg_colour.h"
#include "svg_geometry.h"

#include <string>
#include <vector>

enum class OutputKind { picture, line_drawing };

struct PaintedShape {
    std::vector<Polyline> outlines;   // in the root's user (viewBox) units
    bool filled = false;
    Colour fill;
    bool even_odd = false;   // fill-rule
    bool stroked = false;
    Colour stroke;
    double stroke_width = 1;   // user units
    int line = 0;              // where it is in the source
    std::string element;
};

struct SvgDrawing {
    double view_x = 0, view_y = 0, view_width = 0, view_height = 0;
    std::vector<Colour> palette;   // data-palette: colours that take the first positions
    double scale = 90;             // data-scale: the demo's picture_scale for this picture
    int segments = 0;              // data-segments: segment count of a line drawing, 0 = as drawn
    std::vector<PaintedShape> shapes;
};

// Screen pixels per user unit in the output: at the picture's scale the longer side of
// the viewBox spans 2 * scale pixels; a line drawing fits the viewBox to 320 x 200.
double pixels_per_unit(const SvgDrawing& drawing, OutputKind kind);
