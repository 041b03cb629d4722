// tinkettles-svg: converts an SVG drawing into a demo picture (.cgm) or a line drawing
// (.txt), reporting whatever in the drawing it cannot carry over.
#include "cgm_writer.h"
#include "line_drawing_writer.h"
#include "svg_reader.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

const char usage[] =
    "usage: tinkettles-svg [--scale S] [--segments N] [--tolerance PIXELS] IN.svg OUT.cgm|OUT.txt\n"
    "  OUT.cgm: a filled picture; --scale is the demo's picture_scale it is made for\n"
    "           (stroke widths and curve accuracy; default data-scale or 90)\n"
    "  OUT.txt: a line drawing of the strokes; --segments cuts it into exactly N segments\n"
    "           (default data-segments, or as drawn)\n";

struct Arguments {
    ReadOptions options;
    std::string input;
    std::string output;
};

bool ends_with(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool parse_number(const char* text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == '\0';
}

bool parse_arguments(int argc, char** argv, Arguments& arguments)
{
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-' && argv[i][1] == '-'; i += 2) {
        const std::string option = argv[i];
        double value;
        if (!parse_number(argv[i + 1], value))
            return false;
        if (option == "--scale" && value > 0)
            arguments.options.scale = value;
        else if (option == "--segments" && value >= 0 && value <= 1e6 && value == int(value))
            arguments.options.segments = static_cast<int>(value);
        else if (option == "--tolerance" && value > 0)
            arguments.options.tolerance = value;
        else
            return false;
    }
    if (argc - i != 2)
        return false;
    arguments.input = argv[i];
    arguments.output = argv[i + 1];
    if (ends_with(arguments.output, ".txt"))
        arguments.options.kind = OutputKind::line_drawing;
    else if (!ends_with(arguments.output, ".cgm"))
        return false;
    return true;
}

std::string stem_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find_last_of('.'));
}

int finish(const Diagnostics& diagnostics, int status)
{
    for (const std::string& message : diagnostics.messages)
        std::cerr << message << '\n';
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    if (!parse_arguments(argc, argv, arguments)) {
        std::cerr << usage;
        return 2;
    }
    Diagnostics diagnostics;
    diagnostics.file_name = arguments.input;
    std::ifstream input(arguments.input, std::ios::binary);
    if (!input) {
        std::cerr << arguments.input << ": cannot open for reading\n";
        return 1;
    }
    std::stringstream text;
    text << input.rdbuf();
    SvgDrawing drawing;
    if (!read_svg(text.str(), arguments.options, drawing, diagnostics))
        return finish(diagnostics, 1);
    std::string out;
    std::string summary;
    if (arguments.options.kind == OutputKind::picture) {
        CgmSummary counts;
        if (!write_cgm(drawing, stem_of(arguments.output), out, counts, diagnostics))
            return finish(diagnostics, 1);
        summary = std::to_string(counts.colours) + " colours, " + std::to_string(counts.polygons) +
                  " polygons, " + std::to_string(counts.lines) + " lines, largest element " +
                  std::to_string(counts.largest_element) + " points";
    } else {
        LineDrawingSummary counts;
        if (!write_line_drawing(drawing, out, counts, diagnostics))
            return finish(diagnostics, 1);
        summary = std::to_string(counts.polylines) + " polylines, " +
                  std::to_string(counts.segments) + " segments";
    }
    std::ofstream output(arguments.output, std::ios::binary);
    output << out;
    output.close();
    if (!output) {
        std::cerr << arguments.output << ": cannot write\n";
        return finish(diagnostics, 1);
    }
    std::cout << arguments.output << ": " << summary << '\n';
    return finish(diagnostics, 0);
}
