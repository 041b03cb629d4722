// tinkettles-compose SCORE SETTINGS OUT.mod
// Compiles the text score and the synthesis settings into a module file.
#include "compose.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: tinkettles-compose SCORE SETTINGS OUT.mod\n");
        return 2;
    }
    std::string score_text;
    std::string settings_text;
    for (int i : {1, 2}) {
        if (!compose::read_text_file(argv[i], i == 1 ? score_text : settings_text)) {
            std::fprintf(stderr, "tinkettles-compose: cannot read %s\n", argv[i]);
            return 1;
        }
    }
    compose::Diagnostics diags;
    std::vector<std::uint8_t> module =
        compose::compose_module({score_text, argv[1]}, {settings_text, argv[2]}, diags);
    std::fputs(compose::format_errors(diags).c_str(), stderr);
    if (!diags.errors.empty())
        return 1;

    std::ofstream out(argv[3], std::ios::binary);
    out.write(reinterpret_cast<const char*>(module.data()), static_cast<std::streamsize>(module.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "tinkettles-compose: cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("%s: %zu bytes\n", argv[3], module.size());
    return 0;
}
