// tinkettles-svg: converts an SVG drawing into a demo picture (.cgm) or a line drawing
// (.txt), reporting whatever in the drawing it cannot carry over.
#include "cgm_writer.h"
#include "command_line.h"
#include "failed_output.h"
#include "line_drawing_writer.h"
#include "line_reader.h"
#include "svg_reader.h"
#include "whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

constexpr const char* program = "tinkettles-svg";

const char usage[] =
    "usage: tinkettles-svg [--scale S] [--segments N] [--tolerance PIXELS] IN.svg OUT.cgm|OUT.txt\n"
    "  OUT.cgm: a filled picture; --scale is the demo's picture_scale it is made for\n"
    "           (stroke widths and curve accuracy; default data-scale or 90)\n"
    "  OUT.txt: a line drawing of the strokes; --segments cuts it into exactly N segments\n"
    "           (default data-segments, or as drawn)\n"
    "  --tolerance PIXELS  how far a flattened curve may stray (default 0.25)\n"
    "  --help, --version\n";

struct Arguments {
    ReadOptions options;
    std::string input;
    std::string output;
};

bool parse_arguments(CommandLine* line, Arguments& arguments)
{
    const char* files[2] = {nullptr, nullptr};
    int count = 0;
    const char* argument = nullptr;
    bool is_option = false;
    while (next_argument(line, &argument, &is_option)) {
        const std::string option = argument;
        std::int64_t whole = 0;
        if (!is_option) {
            if (count == 2)
                return usage_error(line, "unexpected argument %s", argument);
            files[count++] = argument;
        } else if (option == "--scale") {
            if (!option_number(line, "--scale", 0, true, 1e6, &arguments.options.scale))
                return false;
        } else if (option == "--tolerance") {
            if (!option_number(line, "--tolerance", 0, true, 1e6, &arguments.options.tolerance))
                return false;
        } else if (option == "--segments") {
            if (!option_integer(line, "--segments", 0, 1000000, &whole))
                return false;
            arguments.options.segments = static_cast<int>(whole);
        } else {
            return unknown_option(line, argument);
        }
    }
    if (line->status >= 0)
        return false;
    if (count != 2)
        return usage_error(line, "an SVG file and a file to write are needed");
    arguments.input = files[0];
    arguments.output = files[1];
    if (has_suffix(arguments.output, ".txt"))
        arguments.options.kind = OutputKind::line_drawing;
    else if (!has_suffix(arguments.output, ".cgm"))
        return usage_error(line, "%s: the output must end in .cgm (a picture) or .txt (a line drawing)",
                           files[1]);
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
    std::cerr << format_diagnostics(diagnostics);
    return status;
}

}   // namespace

int main(int argc, char** argv)
{
    Arguments arguments;
    CommandLine line = start_command_line(program, usage, argc, argv);
    if (!parse_arguments(&line, arguments))
        return line.status;
    Diagnostics diagnostics;
    diagnostics.file_name = arguments.input;
    std::string text;
    if (!read_whole_file(program, arguments.input, text))
        return 1;
    SvgDrawing drawing;
    if (!read_svg(text, arguments.options, drawing, diagnostics))
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
        summary =
            std::to_string(counts.polylines) + " polylines, " + std::to_string(counts.segments) + " segments";
    }
    std::FILE* output = std::fopen(arguments.output.c_str(), "wb");
    if (!output) {
        system_error(program, "cannot create", arguments.output.c_str());
        return finish(diagnostics, 1);
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), output) == out.size();
    if (!(std::fclose(output) == 0 && written)) {
        system_error(program, "cannot write", arguments.output.c_str());
        remove_failed_output(arguments.output.c_str());
        return finish(diagnostics, 1);
    }
    std::cout << arguments.output << ": " << summary << '\n';
    return finish(diagnostics, 0);
}
