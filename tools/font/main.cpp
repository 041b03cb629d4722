// tinkettles-font: builds the demo's caption font from its stroke definitions.
//
//   tinkettles-font [--preview PICTURE.png] ASSET_DIRECTORY OUTPUT.raw
//
// ASSET_DIRECTORY holds style.txt and glyphs.txt (normally assets/font); OUTPUT is
// normally data/fontti.raw.
#include "command_line.h"
#include "font_preview.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr const char* program = "tinkettles-font";

const char usage[] =
    "usage: tinkettles-font [--preview PICTURE.png] ASSET_DIRECTORY OUTPUT.raw\n"
    "Draws the caption font from ASSET_DIRECTORY/style.txt and glyphs.txt (normally\n"
    "assets/font) into OUTPUT.raw (normally data/fontti.raw).\n"
    "  --preview PICTURE.png  also draw every glyph in its three frames, enlarged\n"
    "  --help, --version\n";

struct Options {
    const char* assets = nullptr;
    const char* output = nullptr;
    const char* preview = nullptr;
};

bool read_options(CommandLine* line, Options& options)
{
    const char* argument = nullptr;
    bool is_option = false;
    while (next_argument(line, &argument, &is_option)) {
        if (is_option && std::strcmp(argument, "--preview") == 0) {
            if (!option_text(line, "--preview", &options.preview))
                return false;
        } else if (is_option) {
            return unknown_option(line, argument);
        } else if (!options.assets) {
            options.assets = argument;
        } else if (!options.output) {
            options.output = argument;
        } else {
            return usage_error(line, "unexpected argument %s", argument);
        }
    }
    if (line->status >= 0)
        return false;
    if (!options.output)
        return usage_error(line, "an asset folder and the font file to write are needed");
    return true;
}

}   // namespace

int main(int argc, char** argv)
{
    Options options;
    CommandLine line = start_command_line(program, usage, argc, argv);
    if (!read_options(&line, options))
        return line.status;
    const auto source = std::make_unique<FontSource>();
    const auto image = std::make_unique<FontImage>();
    Diagnostics diagnostics;
    if (!load_font_source(program, options.assets, *source, diagnostics)) {
        std::fputs(format_diagnostics(diagnostics).c_str(), stderr);
        return 1;
    }
    std::string error;
    if (!build_font_image(*source, *image, error) || !write_font_image(*image, options.output, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return 1;
    }
    return options.preview && !write_font_preview(program, *image, options.preview) ? 1 : 0;
}
