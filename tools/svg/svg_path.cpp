#include "svg_path.h"

#include "svg_numbers.h"

#include <cctype>
#include <cstring>

namespace {

struct PathState {
    std::vector<Polyline>* out;
    Point current;
    Point subpath_start;
    Point last_control;      // reflected by S/s and T/t
    char last_command = 0;   // upper case
    bool open = false;       // a subpath has been started by a moveto
};

Polyline& current_polyline(PathState& state)
{
    if (!state.open) {
        // Drawing without a moveto (or after a closepath) starts from the current point.
        state.out->push_back(Polyline{{state.current}, false});
        state.open = true;
        state.subpath_start = state.current;
    }
    return state.out->back();
}

void close_subpath(PathState& state)
{
    if (state.open) {
        Polyline& line = state.out->back();
        // A final point equal to the first is the closing segment itself.
        if (line.points.size() > 1) {
            const Point& first = line.points.front();
            const Point& last = line.points.back();
            if (first.x == last.x && first.y == last.y)
                line.points.pop_back();
        }
        line.closed = true;
    }
    state.open = false;
    state.current = state.subpath_start;
}

bool read_point(NumberScanner& scanner, Point& point, bool relative, Point origin)
{
    if (!read_number(scanner, point.x) || !read_number(scanner, point.y))
        return false;
    if (relative) {
        point.x += origin.x;
        point.y += origin.y;
    }
    return true;
}

Point reflected(const PathState& state, const char* smooth_pairs)
{
    // The previous control point mirrored, when the previous command was of the pair.
    if (state.last_command && std::strchr(smooth_pairs, state.last_command))
        return Point{2 * state.current.x - state.last_control.x, 2 * state.current.y - state.last_control.y};
    return state.current;
}

// Reads one set of operands for the command and draws it. False on missing operands.
bool run_command(char command, NumberScanner& scanner, double tolerance, PathState& state)
{
    const bool relative = std::islower(static_cast<unsigned char>(command));
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
    const Point origin = state.current;
    Point end = origin;
    switch (upper) {
    case 'M':
        if (!read_point(scanner, end, relative, origin))
            return false;
        if (state.open && state.out->back().points.size() < 2 && !state.out->back().closed)
            state.out->pop_back();   // a lone moveto draws nothing
        state.out->push_back(Polyline{{end}, false});
        state.open = true;
        state.subpath_start = end;
        break;
    case 'L':
        if (!read_point(scanner, end, relative, origin))
            return false;
        current_polyline(state).points.push_back(end);
        break;
    case 'H':
        if (!read_number(scanner, end.x))
            return false;
        if (relative)
            end.x += origin.x;
        current_polyline(state).points.push_back(end);
        break;
    case 'V':
        if (!read_number(scanner, end.y))
            return false;
        if (relative)
            end.y += origin.y;
        current_polyline(state).points.push_back(end);
        break;
    case 'C':
    case 'S': {
        Point c1 = reflected(state, "CS"), c2;
        if (upper == 'C' && !read_point(scanner, c1, relative, origin))
            return false;
        if (!read_point(scanner, c2, relative, origin) || !read_point(scanner, end, relative, origin))
            return false;
        flatten_cubic(origin, c1, c2, end, tolerance, current_polyline(state).points);
        state.last_control = c2;
        break;
    }
    case 'Q':
    case 'T': {
        Point control = reflected(state, "QT");
        if (upper == 'Q' && !read_point(scanner, control, relative, origin))
            return false;
        if (!read_point(scanner, end, relative, origin))
            return false;
        flatten_quadratic(origin, control, end, tolerance, current_polyline(state).points);
        state.last_control = control;
        break;
    }
    case 'A': {
        double rx, ry, rotation;
        bool large_arc, sweep;
        if (!read_number(scanner, rx) || !read_number(scanner, ry) || !read_number(scanner, rotation) ||
            !read_flag(scanner, large_arc) || !read_flag(scanner, sweep) ||
            !read_point(scanner, end, relative, origin))
            return false;
        Polyline& line = current_polyline(state);
        flatten_arc(origin, rx, ry, rotation, large_arc, sweep, end, tolerance, line.points);
        break;
    }
    case 'Z':
        close_subpath(state);
        state.last_command = 'Z';
        return true;
    default: return false;
    }
    state.current = end;
    state.last_command = upper;
    return true;
}

std::string describe(char command, std::size_t position, const char* what)
{
    return std::string(what) + " for path command '" + command + "' at character " +
           std::to_string(position + 1);
}

}   // namespace

bool parse_path_data(std::string_view data, double tolerance, std::vector<Polyline>& out, std::string& error)
{
    const std::size_t first_new = out.size();
    PathState state{&out, {}, {}, {}, 0, false};
    NumberScanner scanner{data, 0};
    char command = 0;
    std::size_t command_position = 0;
    while (true) {
        skip_spaces(scanner);
        if (scanner.position >= data.size())
            break;
        const char c = data[scanner.position];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            if (!std::strchr("MmLlHhVvCcSsQqTtAaZz", c)) {
                error = std::string("unknown path command '") + c + "' at character " +
                        std::to_string(scanner.position + 1);
                return false;
            }
            command = c;
            command_position = scanner.position;
            ++scanner.position;
            if (command == 'Z' || command == 'z') {
                run_command(command, scanner, tolerance, state);
                continue;
            }
        } else if (command == 0 || command == 'Z' || command == 'z') {
            error = "path data must start with a moveto; found '" + std::string(1, c) + "' at character " +
                    std::to_string(scanner.position + 1);
            return false;
        }
        if (out.size() == first_new && command != 'M' && command != 'm') {
            error = describe(command, command_position, "no moveto before drawing");
            return false;
        }
        if (!run_command(command, scanner, tolerance, state)) {
            error = describe(command, command_position, "missing or bad numbers");
            return false;
        }
        // Coordinates after a moveto are implicit linetos.
        if (command == 'M')
            command = 'L';
        else if (command == 'm')
            command = 'l';
    }
    // A trailing lone moveto draws nothing.
    if (out.size() > first_new && out.back().points.size() < 2 && !out.back().closed)
        out.pop_back();
    return true;
}
