// The font's source: pen and frame style plus the strokes of every glyph, read from
// the clear-text files under assets/font/.
#pragma once

#include "diagnostics.h"
#include "pictures/glyph_rule.h"

#include <array>
#include <cstdint>
#include <string>

inline constexpr int glyph_count = sizeof glyph_characters - 1;
inline constexpr int frame_count = 3;

inline constexpr int max_guides = 32;
inline constexpr int max_guide_name = 15;
inline constexpr int max_primitives = 32;
inline constexpr int max_line_points = 16;

// A named coordinate ("base", "xh", ...) that glyph strokes may use instead of numbers.
struct Guide {
    char name[max_guide_name + 1];
    double value;
};

struct GuideTable {
    int count;
    std::array<Guide, max_guides> guides;
};

// How one animation frame moves the strokes and throws the shadow.
struct FrameStyle {
    double rise;   // vertical shift in pixels, negative is up
    std::int32_t shadow_dx;
    std::int32_t shadow_dy;
};

struct FontStyle {
    double pen_radius;      // every stroke is drawn with a round pen of this radius
    std::int32_t outline;   // width of the shade ring around the ink, in pixels
    std::array<FrameStyle, frame_count> frames;
};

// line: a polyline; arc: centre, radii, start and end angle in degrees (0 is to the
// right, 90 is down); curve: a cubic Bezier by its four points; dot: one pen print.
enum class PrimitiveKind { line, arc, curve, dot };

struct StrokePrimitive {
    PrimitiveKind kind;
    std::int32_t value_count;
    std::array<double, 2 * max_line_points> values;
};

struct GlyphStrokes {
    std::int32_t defined_at_line;   // 0 while the glyph has no definition
    std::int32_t primitive_count;
    std::array<StrokePrimitive, max_primitives> primitives;
};

struct FontSource {
    FontStyle style;
    GuideTable guides;
    std::array<GlyphStrokes, glyph_count> glyphs;
};

// Each parser reports its first fault, at its line of file_name, and returns false.
bool parse_font_style(const std::string& text, const std::string& file_name, FontSource& source,
                      Diagnostics& report);
bool parse_glyph_strokes(const std::string& text, const std::string& file_name, FontSource& source,
                         Diagnostics& report);

// Reads directory/style.txt and directory/glyphs.txt; every glyph must be defined. A file
// that cannot be read is reported on standard error, after `program`.
bool load_font_source(const char* program, const std::string& directory, FontSource& source,
                      Diagnostics& report);
