// tinkettles-font: builds the demo's caption font from its stroke definitions.
//
//   tinkettles-font [--preview PICTURE.png] ASSET_DIRECTORY OUTPUT.raw
//
// ASSET_DIRECTORY holds style.txt and glyphs.txt (normally assets/font); OUTPUT is
// normally data/fontti.raw.
#include "font_preview.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Options {
    const char* assets = nullptr;
    const char* output = nullptr;
    const char* preview = nullptr;
};

void print_usage()
{
    std::fprintf(stderr,
                 "usage: tinkettles-font [--preview PICTURE.png] ASSET_DIRECTORY OUTPUT.raw\n");
}

bool read_options(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) {
            options.preview = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "tinkettles-font: unknown option %s\n", argv[i]);
            return false;
        } else if (!options.assets) {
            options.assets = argv[i];
        } else if (!options.output) {
            options.output = argv[i];
        } else {
            std::fprintf(stderr, "tinkettles-font: unexpected argument %s\n", argv[i]);
            return false;
        }
    }
    return options.assets && options.output;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!read_options(argc, argv, options)) {
        print_usage();
        return 2;
    }
    const auto source = std::make_unique<FontSource>();
    const auto image = std::make_unique<FontImage>();
    std::string error;
    if (!load_font_source(options.assets, *source, error) ||
        !build_font_image(*source, *image, error) ||
        !write_font_image(*image, options.output, error) ||
        (options.preview && !write_font_preview(*image, options.preview, error))) {
        std::fprintf(stderr, "tinkettles-font: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
