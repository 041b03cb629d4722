// Reads an SVG document into an SvgDrawing: the root's frame and hints, styles with
// their inheritance, nested group transforms and every shape element.
#pragma once

#include "diagnostics.h"
#include "svg_drawing.h"

#include <string>

struct ReadOptions {
    OutputKind kind = OutputKind::picture;
    double scale = 0;          // overrides data-scale when above 0
    int segments = -1;         // overrides data-segments when 0 or more
    double tolerance = 0.25;   // largest distance of a flattened curve from the true one, in output pixels
};

// False when the document cannot be read at all or an error was reported.
bool read_svg(const std::string& text, const ReadOptions& options, SvgDrawing& drawing,
              Diagnostics& diagnostics);
