#include "frame/demo_options.h"
#include "frame/main_loop.h"
#include "frame/display.h"

#include <cstring>

bool runs_windowed(int argc, const char* const* argv)
{
    if (argc >= 2 && argv[1] && std::strcmp(argv[1], "-w") == 0)
        return true;
    if (argc >= 1 && argv[0]) {
        const std::size_t length = std::strlen(argv[0]);
        return length > 0 && argv[0][length - 1] == 'w';
    }
    return false;
}

namespace {

bool complain(const char* what, const char* argument)
{
    std::fprintf(stderr, "tinkettles: %s: %s\n", what, argument);
    return false;
}

// One option that takes a value: argv[*i] is its name, argv[*i + 1] its value.
bool take_value(int argc, const char* const* argv, int* i, const char** value)
{
    if (*i + 1 >= argc)
        return complain("missing value after", argv[*i]);
    *value = argv[++*i];
    return true;
}

bool take_position(const char* name, const char* text, bool* given, std::int32_t* position)
{
    if (*given)
        return complain("given twice", name);
    if (!parse_music_position(text, position)) {
        std::fprintf(stderr,
                     "tinkettles: %s wants a music position, order x 100 + row (row 0-63, "
                     "order 0-127), not '%s'\n",
                     name, text);
        return false;
    }
    *given = true;
    return true;
}

}   // namespace

bool parse_music_position(const char* text, std::int32_t* position)
{
    std::int32_t value = 0;
    const char* c = text;
    for (; *c >= '0' && *c <= '9'; ++c) {
        value = value * 10 + (*c - '0');
        if (value > 12763)
            return false;
    }
    if (c == text || *c != '\0' || value % 100 > 63)
        return false;
    *position = value;
    return true;
}

DemoCommand parse_demo_options(int argc, const char* const* argv, DemoOptions* options)
{
    *options = DemoOptions{runs_windowed(argc, argv), nullptr, -1, final_position, false, false};
    // Asking for help is answered whatever else the line holds, mistakes included.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return DemoCommand::help;
        if (std::strcmp(argv[i], "--version") == 0)
            return DemoCommand::version;
    }
    bool from_given = false;
    bool to_given = false;
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        bool understood = true;
        const char* value = nullptr;
        if (std::strcmp(name, "-w") == 0) {
            options->windowed = true;
        } else if (std::strcmp(name, "--calm") == 0) {
            understood = !options->calm || complain("given twice", name);
            options->calm = true;
        } else if (std::strcmp(name, "--maker") == 0) {
            // A maker works beside an editor: the window is the default.
            options->maker = true;
            options->windowed = true;
        } else if (std::strcmp(name, "--data") == 0) {
            understood = !options->data_folder || complain("given twice", name);
            understood = understood && take_value(argc, argv, &i, &options->data_folder);
        } else if (std::strcmp(name, "--from") == 0) {
            understood =
                take_value(argc, argv, &i, &value) && take_position(name, value, &from_given, &options->from);
        } else if (std::strcmp(name, "--to") == 0) {
            understood =
                take_value(argc, argv, &i, &value) && take_position(name, value, &to_given, &options->to);
        } else {
            understood = complain(name[0] == '-' ? "unknown option" : "unexpected argument", name);
        }
        if (!understood)
            return DemoCommand::usage_error;
    }
    if (options->to > final_position) {
        std::fprintf(stderr, "tinkettles: --to %d lies beyond the demo's end at %d\n",
                     static_cast<int>(options->to), static_cast<int>(final_position));
        return DemoCommand::usage_error;
    }
    if (to_given && options->to <= (from_given ? options->from : 0)) {
        std::fprintf(stderr, "tinkettles: --to %d must come after the start, %d\n",
                     static_cast<int>(options->to), static_cast<int>(from_given ? options->from : 0));
        return DemoCommand::usage_error;
    }
    if (from_given && options->from >= options->to) {
        std::fprintf(stderr, "tinkettles: --from %d lies at or beyond the demo's end, %d\n",
                     static_cast<int>(options->from), static_cast<int>(options->to));
        return DemoCommand::usage_error;
    }
    return DemoCommand::run;
}

void print_demo_usage(std::FILE* out)
{
    std::fputs(
        "usage: tinkettles [-w] [--calm] [--maker] [--data DIR] [--from POSITION] [--to POSITION]\n"
        "       tinkettles --help | --version\n"
        "Plays the Tin Kettles demo full screen; a mouse click ends it.\n"
        "  -w               play in a window (so does a program name ending in 'w')\n"
        "  --calm           hold back the flashing: no part of the picture turns light\n"
        "                   and dark more than three times a second (the demo flashes\n"
        "                   otherwise; see docs/flashes.md)\n"
        "  --data DIR       read the data files from DIR (default: $TINKETTLES_DATA, else\n"
        "                   data/ in the working directory, else the installed\n"
        "                   ../share/tinkettles/data beside the program)\n"
        "  --maker          in a window with controls: Space pause, Left/Right scene,\n"
        "                   PgUp/PgDn order, L loop, H status line, Esc quit; data files\n"
        "                   reload when they change\n"
        "  --from POSITION  start at a music position, order x 100 + row (1500 = order 15),\n"
        "                   exactly as a whole run plays and shows it there\n"
        "  --to POSITION    end at a music position (default 2500, the end of the music)\n"
        "  --help, --version\n",
        out);
}
