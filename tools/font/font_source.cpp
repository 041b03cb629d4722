#include "font_source.h"
#include "line_reader.h"
#include "quoted.h"
#include "whole_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr int max_tokens = 2 * max_line_points + 1;

struct SourceLine {
    std::int32_t number;
    std::int32_t token_count;
    std::array<std::string_view, max_tokens> tokens;
};

// Reports a fault at a line of the file being read. Always false.
bool fail(Diagnostics& report, std::int32_t line, std::string message)
{
    add_error(report, line, 0, std::move(message));
    return false;
}

// Splits one line into whitespace-separated words, dropping a "#" comment.
bool split_line(std::string_view text, SourceLine& line, Diagnostics& report)
{
    const std::size_t comment = text.find('#');
    if (comment != std::string_view::npos) {
        text = text.substr(0, comment);
    }
    line.token_count = 0;
    std::size_t at = 0;
    while (true) {
        at = text.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos) {
            return true;
        }
        const std::size_t end = std::min(text.find_first_of(" \t\r", at), text.size());
        if (line.token_count == max_tokens) {
            return fail(report, line.number,
                        "too many values (at most " + std::to_string(max_tokens - 1) + ")");
        }
        line.tokens[line.token_count++] = text.substr(at, end - at);
        at = end;
    }
}

bool parse_plain_number(std::string_view token, double& value)
{
    if (token.empty() || token.size() > 31) {
        return false;
    }
    char buffer[32];
    std::memcpy(buffer, token.data(), token.size());
    buffer[token.size()] = '\0';
    char* end = nullptr;
    errno = 0;
    value = std::strtod(buffer, &end);
    return end == buffer + token.size() && errno == 0 && std::isfinite(value);
}

const Guide* find_guide(const GuideTable& guides, std::string_view name)
{
    for (int i = 0; i < guides.count; ++i) {
        if (name == guides.guides[i].name) {
            return &guides.guides[i];
        }
    }
    return nullptr;
}

bool is_name_start(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// A coordinate is a number, a guide name, or a guide name with "+n" or "-n" after it.
bool parse_value(std::string_view token, const GuideTable& guides, double& value, std::int32_t line,
                 Diagnostics& report)
{
    if (token.empty() || !is_name_start(token[0])) {
        if (parse_plain_number(token, value)) {
            return true;
        }
        return fail(report, line, quoted(token) + " is not a number");
    }
    const std::size_t sign = token.find_first_of("+-");
    const std::string_view name = token.substr(0, sign);
    const Guide* guide = find_guide(guides, name);
    if (!guide) {
        return fail(report, line, "unknown guide '" + std::string(name) + "'");
    }
    double offset = 0.0;
    if (sign != std::string_view::npos && !parse_plain_number(token.substr(sign), offset)) {
        return fail(report, line, "bad offset in '" + std::string(token) + "'");
    }
    value = guide->value + offset;
    return true;
}

bool parse_values(const SourceLine& line, std::int32_t first, const GuideTable& guides, double* values,
                  Diagnostics& report)
{
    for (std::int32_t i = first; i < line.token_count; ++i) {
        if (!parse_value(line.tokens[i], guides, values[i - first], line.number, report)) {
            return false;
        }
    }
    return true;
}

bool expect_values(const SourceLine& line, std::int32_t wanted, Diagnostics& report)
{
    if (line.token_count - 1 == wanted) {
        return true;
    }
    return fail(report, line.number,
                quoted(line.tokens[0]) + " takes " + std::to_string(wanted) +
                    (wanted == 1 ? " value, not " : " values, not ") + std::to_string(line.token_count - 1));
}

bool parse_whole(std::string_view token, std::int32_t low, std::int32_t high, std::int32_t& value,
                 std::int32_t line, Diagnostics& report)
{
    double number = 0.0;
    if (!parse_plain_number(token, number) || number != std::floor(number) || number < low || number > high) {
        return fail(report, line,
                    quoted(token) + " is not a whole number from " + std::to_string(low) + " to " +
                        std::to_string(high));
    }
    value = static_cast<std::int32_t>(number);
    return true;
}

bool add_guide(const SourceLine& line, GuideTable& guides, Diagnostics& report)
{
    if (!expect_values(line, 2, report)) {
        return false;
    }
    const std::string_view name = line.tokens[1];
    if (name.size() > max_guide_name || !is_name_start(name[0]) ||
        name.find_first_of("+-") != std::string_view::npos) {
        return fail(report, line.number, "bad guide name '" + std::string(name) + "'");
    }
    if (find_guide(guides, name)) {
        return fail(report, line.number, "guide '" + std::string(name) + "' defined twice");
    }
    if (guides.count == max_guides) {
        return fail(report, line.number, "too many guides");
    }
    Guide& guide = guides.guides[guides.count];
    if (!parse_value(line.tokens[2], guides, guide.value, line.number, report)) {
        return false;
    }
    std::memcpy(guide.name, name.data(), name.size());
    guide.name[name.size()] = '\0';
    ++guides.count;
    return true;
}

bool parse_frame(const SourceLine& line, FontSource& source, std::array<bool, frame_count>& seen,
                 Diagnostics& report)
{
    std::int32_t frame = 0;
    if (!expect_values(line, 4, report) ||
        !parse_whole(line.tokens[1], 0, frame_count - 1, frame, line.number, report)) {
        return false;
    }
    FrameStyle& style = source.style.frames[frame];
    if (!parse_value(line.tokens[2], source.guides, style.rise, line.number, report) ||
        !parse_whole(line.tokens[3], -8, 8, style.shadow_dx, line.number, report) ||
        !parse_whole(line.tokens[4], -8, 8, style.shadow_dy, line.number, report)) {
        return false;
    }
    seen[frame] = true;
    return true;
}

template <typename Handler>
bool for_each_line(const std::string& text, Diagnostics& report, Handler handle)
{
    SourceLine line{};
    for (const std::string_view content : split_lines(text)) {
        ++line.number;
        if (!split_line(content, line, report)) {
            return false;
        }
        if (line.token_count > 0 && !handle(line)) {
            return false;
        }
    }
    return true;
}

struct FixedCommand {
    const char* name;
    PrimitiveKind kind;
    std::int32_t value_count;
};

// Every command but "line" takes a fixed number of values; "ellipse" is an arc all round.
constexpr FixedCommand fixed_commands[] = {
    {"arc", PrimitiveKind::arc, 6},
    {"ellipse", PrimitiveKind::arc, 4},
    {"curve", PrimitiveKind::curve, 8},
    {"dot", PrimitiveKind::dot, 2},
};

bool parse_primitive(const SourceLine& line, const GuideTable& guides, StrokePrimitive& primitive,
                     Diagnostics& report)
{
    const std::string_view command = line.tokens[0];
    const std::int32_t given = line.token_count - 1;
    if (command == "line") {
        if (given < 4 || given % 2 != 0) {
            return fail(report, line.number,
                        "'line' takes 2 to " + std::to_string(max_line_points) + " points as x y pairs");
        }
        primitive.kind = PrimitiveKind::line;
        primitive.value_count = given;
        return parse_values(line, 1, guides, primitive.values.data(), report);
    }
    for (const FixedCommand& fixed : fixed_commands) {
        if (command != fixed.name) {
            continue;
        }
        if (!expect_values(line, fixed.value_count, report)) {
            return false;
        }
        primitive.kind = fixed.kind;
        primitive.value_count = fixed.kind == PrimitiveKind::arc ? 6 : fixed.value_count;
        primitive.values[4] = 0.0;
        primitive.values[5] = 360.0;
        return parse_values(line, 1, guides, primitive.values.data(), report);
    }
    return fail(report, line.number, "unknown command '" + std::string(command) + "'");
}

bool start_glyph(const SourceLine& line, FontSource& source, GlyphStrokes*& current, Diagnostics& report)
{
    if (!expect_values(line, 1, report)) {
        return false;
    }
    const std::string_view name = line.tokens[1];
    const int number = name.size() == 1 ? glyph_number(name[0]) : -1;
    if (number < 0) {
        return fail(report, line.number, quoted(name) + " is not a character of the font");
    }
    current = &source.glyphs[number];
    if (current->defined_at_line != 0) {
        return fail(report, line.number,
                    "glyph '" + std::string(name) + "' already defined at line " +
                        std::to_string(current->defined_at_line));
    }
    current->defined_at_line = line.number;
    current->primitive_count = 0;
    return true;
}

}   // namespace

bool parse_font_style(const std::string& text, const std::string& file_name, FontSource& source,
                      Diagnostics& report)
{
    report.file_name = file_name;
    std::array<bool, frame_count> frame_seen{};
    bool pen_seen = false;
    bool outline_seen = false;
    FontStyle& style = source.style;
    const bool parsed = for_each_line(text, report, [&](const SourceLine& line) {
        const std::string_view command = line.tokens[0];
        if (command == "guide") {
            return add_guide(line, source.guides, report);
        }
        if (command == "frame") {
            return parse_frame(line, source, frame_seen, report);
        }
        if (command == "pen") {
            pen_seen = expect_values(line, 1, report) &&
                       parse_value(line.tokens[1], source.guides, style.pen_radius, line.number, report);
            if (pen_seen && !(style.pen_radius > 0.0 && style.pen_radius <= 8.0)) {
                return fail(report, line.number, "the pen radius must lie in (0, 8]");
            }
            return pen_seen;
        }
        if (command == "outline") {
            outline_seen = expect_values(line, 1, report) &&
                           parse_whole(line.tokens[1], 0, 4, style.outline, line.number, report);
            return outline_seen;
        }
        return fail(report, line.number, "unknown command '" + std::string(command) + "'");
    });
    if (!parsed) {
        return false;
    }
    const char* missing = !pen_seen ? "pen" : !outline_seen ? "outline" : nullptr;
    for (int frame = 0; frame < frame_count && !missing; ++frame) {
        if (!frame_seen[frame]) {
            missing = frame == 0 ? "frame 0" : frame == 1 ? "frame 1" : "frame 2";
        }
    }
    if (missing) {
        return fail(report, 0, std::string("no '") + missing + "' line");
    }
    return true;
}

bool parse_glyph_strokes(const std::string& text, const std::string& file_name, FontSource& source,
                         Diagnostics& report)
{
    report.file_name = file_name;
    GlyphStrokes* current = nullptr;
    const bool parsed = for_each_line(text, report, [&](const SourceLine& line) {
        if (line.tokens[0] == "glyph") {
            return start_glyph(line, source, current, report);
        }
        if (!current) {
            return fail(report, line.number, "strokes before the first 'glyph' line");
        }
        if (current->primitive_count == max_primitives) {
            return fail(report, line.number,
                        "too many strokes in one glyph (at most " + std::to_string(max_primitives) + ")");
        }
        StrokePrimitive& primitive = current->primitives[current->primitive_count];
        if (!parse_primitive(line, source.guides, primitive, report)) {
            return false;
        }
        ++current->primitive_count;
        return true;
    });
    if (!parsed) {
        return false;
    }
    for (int glyph = 0; glyph < glyph_count; ++glyph) {
        const GlyphStrokes& strokes = source.glyphs[glyph];
        const char name[2] = {glyph_characters[glyph], '\0'};
        if (strokes.defined_at_line == 0) {
            return fail(report, 0, std::string("glyph '") + name + "' is not defined");
        }
        if (strokes.primitive_count == 0) {
            return fail(report, strokes.defined_at_line, std::string("glyph '") + name + "' has no strokes");
        }
    }
    return true;
}

bool load_font_source(const char* program, const std::string& directory, FontSource& source,
                      Diagnostics& report)
{
    source = FontSource{};
    const std::string style_path = directory + "/style.txt";
    const std::string glyphs_path = directory + "/glyphs.txt";
    std::string text;
    return read_whole_file(program, style_path, text) && parse_font_style(text, style_path, source, report) &&
           read_whole_file(program, glyphs_path, text) &&
           parse_glyph_strokes(text, glyphs_path, source, report);
}
