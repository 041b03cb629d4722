// tinkettles-compose SCORE SETTINGS OUT.mod
// Compiles the text score and the synthesis settings into a module file.
#include "command_line.h"
#include "failed_output.h"
#include "compose.h"
#include "whole_file.h"

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

constexpr const char* program = "tinkettles-compose";

// The demo ends when the music reaches this order position.
constexpr int demo_end_order = 25;

const char usage[] =
    "usage: tinkettles-compose SCORE SETTINGS OUT.mod\n"
    "Compiles a text score and its sample settings into a four-channel module.\n"
    "  SCORE     the score, e.g. assets/music/da_wobble.score\n"
    "  SETTINGS  the samples' synthesis settings, e.g. assets/music/da_wobble.samples\n"
    "  OUT.mod   the module to write, e.g. data/da_wobble.mod\n"
    "Mistakes are reported as file:line:column: error: ... and nothing is written.\n"
    "  --help, --version\n";

bool write_file(const char* path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return system_error(program, "cannot create", path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        remove_failed_output(path);
        return system_error(program, "cannot write", path);
    }
    return true;
}

}   // namespace

int main(int argc, char** argv)
{
    CommandLine line = start_command_line(program, usage, argc, argv);
    const char* files[3] = {nullptr, nullptr, nullptr};
    int count = 0;
    if (!read_operands(&line, files, 3, &count))
        return line.status;
    if (count != 3) {
        usage_error(&line, "a score, its settings and the module to write are needed");
        return line.status;
    }
    std::string score_text;
    std::string settings_text;
    for (int i : {0, 1}) {
        if (!read_whole_file(program, files[i], i == 0 ? score_text : settings_text))
            return 1;
    }
    Diagnostics diags;
    const std::vector<std::uint8_t> module =
        compose::compose_module({score_text, files[0]}, {settings_text, files[1]}, diags, demo_end_order);
    std::fputs(format_diagnostics(diags).c_str(), stderr);
    if (!diags.errors.empty())
        return 1;
    if (!write_file(files[2], module))
        return 1;
    std::printf("%s: %zu bytes\n", files[2], module.size());
    return 0;
}
