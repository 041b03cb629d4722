// Turns a glyph's strokes into straight pen segments for one animation frame.
#pragma once

#include "font_source.h"

inline constexpr int max_segments = 2048;

// A straight stroke of the pen from (x0, y0) to (x1, y1), in cell pixels; a segment
// whose ends coincide is a single pen print.
struct PenSegment {
    double x0, y0, x1, y1;
};

struct PenPath {
    std::int32_t segment_count;
    std::array<PenSegment, max_segments> segments;
};

// Flattens every primitive of the glyph and moves it as the frame asks. Returns false
// (with the reason in error) when the glyph needs more than max_segments segments.
bool flatten_glyph(const GlyphStrokes& strokes, const FrameStyle& frame, PenPath& path, std::string& error);
