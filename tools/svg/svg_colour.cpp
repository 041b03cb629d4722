#include "svg_colour.h"

#include "svg_numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

struct NamedColour {
    const char* name;
    std::uint32_t rgb;
};

constexpr NamedColour named_colours[] = {
    {"black", 0x000000},    {"white", 0xffffff},     {"red", 0xff0000},       {"lime", 0x00ff00},
    {"blue", 0x0000ff},     {"yellow", 0xffff00},    {"cyan", 0x00ffff},      {"aqua", 0x00ffff},
    {"magenta", 0xff00ff},  {"fuchsia", 0xff00ff},   {"silver", 0xc0c0c0},    {"gray", 0x808080},
    {"grey", 0x808080},     {"maroon", 0x800000},    {"olive", 0x808000},     {"green", 0x008000},
    {"purple", 0x800080},   {"teal", 0x008080},      {"navy", 0x000080},      {"orange", 0xffa500},
    {"pink", 0xffc0cb},     {"brown", 0xa52a2a},     {"gold", 0xffd700},      {"tan", 0xd2b48c},
    {"salmon", 0xfa8072},   {"coral", 0xff7f50},     {"tomato", 0xff6347},    {"violet", 0xee82ee},
    {"indigo", 0x4b0082},   {"khaki", 0xf0e68c},     {"crimson", 0xdc143c},   {"turquoise", 0x40e0d0},
    {"skyblue", 0x87ceeb},  {"darkgreen", 0x006400}, {"darkred", 0x8b0000},   {"lightgreen", 0x90ee90},
    {"darkgray", 0xa9a9a9}, {"darkgrey", 0xa9a9a9},  {"lightgray", 0xd3d3d3}, {"lightgrey", 0xd3d3d3},
    {"beige", 0xf5f5dc},    {"ivory", 0xfffff0},
};

int hex_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool parse_hex(std::string_view digits, Colour& colour)
{
    int values[6];
    for (std::size_t i = 0; i < digits.size(); ++i)
        if ((values[i] = hex_value(digits[i])) < 0)
            return false;
    if (digits.size() == 3) {
        colour = {std::uint8_t(values[0] * 17), std::uint8_t(values[1] * 17), std::uint8_t(values[2] * 17)};
        return true;
    }
    if (digits.size() == 6) {
        colour = {std::uint8_t(values[0] * 16 + values[1]), std::uint8_t(values[2] * 16 + values[3]),
                  std::uint8_t(values[4] * 16 + values[5])};
        return true;
    }
    return false;
}

bool parse_rgb_function(std::string_view inside, Colour& colour)
{
    NumberScanner scanner{inside, 0};
    std::uint8_t channels[3];
    for (std::uint8_t& channel : channels) {
        double value;
        if (!read_number(scanner, value))
            return false;
        skip_spaces(scanner);
        if (scanner.position < inside.size() && inside[scanner.position] == '%') {
            ++scanner.position;
            value = value * 255 / 100;
        }
        channel = static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 255.0)));
    }
    if (!at_end(scanner))
        return false;
    colour = {channels[0], channels[1], channels[2]};
    return true;
}

}   // namespace

bool parse_colour(std::string_view text, Colour& colour, std::string& error)
{
    text = trimmed(text);
    bool ok = false;
    if (!text.empty() && text.front() == '#') {
        ok = parse_hex(text.substr(1), colour);
    } else if (text.size() > 5 && text.substr(0, 4) == "rgb(" && text.back() == ')') {
        ok = parse_rgb_function(text.substr(4, text.size() - 5), colour);
    } else {
        std::string lower(text);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        for (const NamedColour& named : named_colours)
            if (lower == named.name) {
                colour = {std::uint8_t(named.rgb >> 16), std::uint8_t(named.rgb >> 8),
                          std::uint8_t(named.rgb)};
                ok = true;
            }
    }
    if (!ok)
        error = "cannot read the colour \"" + std::string(text) + "\"";
    return ok;
}

bool parse_paint(std::string_view text, Paint& paint, std::string& error)
{
    text = trimmed(text);
    if (text == "none" || text == "transparent") {
        paint.kind = PaintKind::none;
        return true;
    }
    if (text == "currentColor") {
        paint.kind = PaintKind::current_colour;
        return true;
    }
    if (text.substr(0, 4) == "url(") {
        error = "gradients and patterns (\"" + std::string(text) +
                "\") cannot be drawn in flat colours; use a plain colour";
        return false;
    }
    paint.kind = PaintKind::colour;
    return parse_colour(text, paint.colour, error);
}

std::string colour_hex(Colour colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return text;
}
