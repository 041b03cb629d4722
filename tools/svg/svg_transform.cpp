#include "svg_transform.h"

#include "svg_numbers.h"

#include <cctype>
#include <cmath>
#include <numbers>

namespace {

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

// The item's transform from its name and 1..6 arguments; false when the count is wrong.
bool item_transform(std::string_view name, const double* v, int count, Affine& t)
{
    if (name == "matrix" && count == 6) {
        t = Affine{v[0], v[1], v[2], v[3], v[4], v[5]};
    } else if (name == "translate" && (count == 1 || count == 2)) {
        t = Affine{1, 0, 0, 1, v[0], count == 2 ? v[1] : 0};
    } else if (name == "scale" && (count == 1 || count == 2)) {
        t = Affine{v[0], 0, 0, count == 2 ? v[1] : v[0], 0, 0};
    } else if (name == "rotate" && (count == 1 || count == 3)) {
        const double c = std::cos(radians(v[0])), s = std::sin(radians(v[0]));
        t = Affine{c, s, -s, c, 0, 0};
        if (count == 3)   // about (cx, cy): translate, rotate, translate back
            t = compose(Affine{1, 0, 0, 1, v[1], v[2]}, compose(t, Affine{1, 0, 0, 1, -v[1], -v[2]}));
    } else if (name == "skewX" && count == 1) {
        t = Affine{1, 0, std::tan(radians(v[0])), 1, 0, 0};
    } else if (name == "skewY" && count == 1) {
        t = Affine{1, std::tan(radians(v[0])), 0, 1, 0, 0};
    } else {
        return false;
    }
    return true;
}

}   // namespace

bool parse_transform(std::string_view text, Affine& transform, std::string& error)
{
    transform = Affine{};
    NumberScanner scanner{text, 0};
    while (!at_end(scanner)) {
        const std::size_t start = scanner.position;
        std::size_t end = start;
        while (end < text.size() && std::isalpha(static_cast<unsigned char>(text[end])))
            ++end;
        const std::string_view name = text.substr(start, end - start);
        scanner.position = end;
        skip_spaces(scanner);
        if (name.empty() || scanner.position >= text.size() || text[scanner.position] != '(') {
            error = "bad transform at character " + std::to_string(start + 1);
            return false;
        }
        ++scanner.position;
        double values[6];
        int count = 0;
        double value;
        while (count < 6 && read_number(scanner, value))
            values[count++] = value;
        skip_spaces(scanner);
        Affine item;
        if (scanner.position >= text.size() || text[scanner.position] != ')' ||
            !item_transform(name, values, count, item)) {
            error = "bad transform \"" + std::string(name) + "\" at character " + std::to_string(start + 1);
            return false;
        }
        ++scanner.position;
        transform = compose(transform, item);
    }
    return true;
}
