// tinkettles-picture-sheet: one PNG showing every picture and line drawing of the demo
// in the colours of the scene that shows it, drawn by the demo's own loaders and
// rasterizer, with a row of the caption font when data/fontti.raw is there.
// Usage: tinkettles-picture-sheet [DATA-DIRECTORY] OUT.png
#include "command_line.h"
#include "frame/data_folder.h"
#include "frame/scene_facts.h"
#include "png_file.h"
#include "pictures/loader_extras.h"
#include "pictures/pictures.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* program = "tinkettles-picture-sheet";

const char usage[] =
    "usage: tinkettles-picture-sheet [DATA-DIRECTORY] OUT.png\n"
    "Draws every picture, line drawing and the font of DATA-DIRECTORY into one PNG,\n"
    "in the colours of the scenes that show them. Without DATA-DIRECTORY the data\n"
    "are found as the demo finds them: TINKETTLES_DATA, data/ in the working\n"
    "directory, then the installed share/tinkettles/data.\n"
    "  --help, --version\n";

constexpr int cell_width = 320, cell_height = 200, gap = 4, columns = 4, rows = 4;
constexpr std::uint8_t background = 127, label_ink = 254, line_paper = 1, line_ink = 2;

struct Cell {
    std::uint8_t pixels[cell_width * cell_height];
    std::uint32_t palette[256];   // 0x00RRGGBB
};

// How each of the scene pictures is laid into its cell, in the order of scene_pictures.
struct PictureCell {
    std::uint32_t background;
    std::int32_t scale, offset_x, offset_y;
};

const PictureCell picture_cells[] = {
    {0xff9696, 93, 0, 80},                                                // ankels, at its smallest
    {0xffffff, 90, 0, 0},  {0xffffff, 90, 0, 0},  {0xffffff, 90, 0, 0},   // flonk1, twice its size in the demo
    {0, 90, 0, 0},                                                        // flonk2, over scene 8's sky
    {0xffffff, 120, 0, 0}, {0xffffff, 120, 0, 0}, {0xffb400, 100, 0, 0}, {0xffb400, 100, 0, 0},
    {0xffdc50, 100, 0, 0},
};
static_assert(std::size(picture_cells) == std::size(scene_pictures));

std::uint32_t half_towards(std::uint32_t colour, std::uint32_t tint)
{
    std::uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        mixed |= ((((colour >> shift) & 0xff) + ((tint >> shift) & 0xff)) >> 1) << shift;
    return mixed;
}

// Colour index i and its shaded twin 128 + i, as the demo's palette set-up makes them.
void set_pair(Cell& cell, int index, std::uint32_t colour)
{
    cell.palette[index] = colour;
    cell.palette[(index | 128) & 255] = half_towards(colour, 0);
}

std::string path_in(const std::string& directory, const char* file)
{
    return directory + "/" + file;
}

bool draw_picture_cell(Cell& cell, const std::string& directory, const ScenePicture& scene,
                       const PictureCell& spec)
{
    Picture* picture = load_picture(path_in(directory, scene.file).c_str());
    Picture* colours = load_picture(path_in(directory, scene.palette_file).c_str());
    if (!picture || !colours) {
        std::fprintf(stderr, "%s: cannot load %s: %s\n", program, scene.file, picture_error);
        return false;
    }
    for (int i = 1; i < 100; ++i)
        set_pair(cell, i, colours->palette[i]);
    set_pair(cell, background, spec.background);
    std::uint8_t paper = background;
    if (scene.scene == 8) {   // scene 8 sets its first three colours
        set_pair(cell, 1, 0xb4ffb4);
        set_pair(cell, 2, 0x96ff14);
        set_pair(cell, 3, 0x000000);
        paper = 1;
    }
    std::memset(cell.pixels, paper, sizeof cell.pixels);
    picture_scale = spec.scale;
    picture_offset_x = spec.offset_x;
    picture_offset_y = spec.offset_y;
    draw_picture(picture, cell.pixels, screen_transform);
    free_picture(picture);
    free_picture(colours);
    return true;
}

bool draw_line_cell(Cell& cell, const std::string& directory, const char* file, std::uint32_t paper,
                    std::uint32_t ink)
{
    TextPicture* picture = load_text_picture(path_in(directory, file).c_str());
    if (!picture) {
        std::fprintf(stderr, "%s: cannot load %s: %s\n", program, file, picture_error);
        return false;
    }
    set_pair(cell, line_paper, paper);
    set_pair(cell, line_ink, ink);
    set_pair(cell, background, paper);
    std::memset(cell.pixels, line_paper, sizeof cell.pixels);
    draw_text_picture(cell.pixels, picture, 0, INT32_MAX, line_ink);
    free_text_picture(picture);
    return true;
}

void draw_font_cell(Cell& cell, int frame)
{
    set_pair(cell, background, 0xff9696);   // scene 1's captions: white ink, pink shade
    cell.palette[255] = 0xffc8c8;
    set_pair(cell, 126, 0xffffff);
    std::memset(cell.pixels, background, sizeof cell.pixels);
    const char* lines[] = {"abcdefghijklm", "nopqrstuvwxyz", "1234567890!'"};
    for (int row = 0; row < 3; ++row)
        for (int i = 0; lines[row][i]; ++i)
            draw_glyph(cell.pixels, 17 + 22 * i, 8 + 40 * row, lines[row][i], frame, 126);
}

void label(Cell& cell, const char* text)
{
    set_pair(cell, label_ink, 0x141414);
    draw_caption(cell.pixels, 4, cell_height - 36, text, 0, 0, label_ink);
}

bool write_sheet(const std::vector<Cell>& cells, const char* file_name)
{
    const int width = columns * cell_width + (columns + 1) * gap;
    const int height = rows * cell_height + (rows + 1) * gap;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3, 40);
    for (std::size_t n = 0; n < cells.size(); ++n) {
        const int left = gap + static_cast<int>(n % columns) * (cell_width + gap);
        const int top = gap + static_cast<int>(n / columns) * (cell_height + gap);
        for (int y = 0; y < cell_height; ++y)
            for (int x = 0; x < cell_width; ++x) {
                const std::uint32_t colour = cells[n].palette[cells[n].pixels[y * cell_width + x]];
                std::uint8_t* out = &rgb[(static_cast<std::size_t>(top + y) * width + left + x) * 3];
                out[0] = static_cast<std::uint8_t>(colour >> 16);
                out[1] = static_cast<std::uint8_t>(colour >> 8);
                out[2] = static_cast<std::uint8_t>(colour);
            }
    }
    PngFailure failure;
    if (write_png(file_name, PngPicture{rgb.data(), width, height, nullptr, true}, &failure))
        return true;
    std::fprintf(stderr, "%s: %s\n", program, failure.reason);
    return false;
}

}   // namespace

int main(int argc, char** argv)
{
    CommandLine line = start_command_line(program, usage, argc, argv);
    const char* operands[2] = {nullptr, nullptr};
    int count = 0;
    if (!read_operands(&line, operands, 2, &count))
        return line.status;
    if (count == 0) {
        usage_error(&line, "the PNG file to write is needed");
        return line.status;
    }
    program_name = program;
    if (!find_demo_data_folder(count == 2 ? operands[0] : nullptr, "DATA-DIRECTORY "))
        return 1;
    const std::string directory = data_folder.path;
    const char* output = operands[count - 1];
    const bool font = load_font(path_in(directory, "fontti.raw").c_str()) == 0;
    std::vector<Cell> cells;
    for (std::size_t i = 0; i < std::size(scene_pictures); ++i) {
        const char* file = scene_pictures[i].file;
        cells.emplace_back();
        if (!draw_picture_cell(cells.back(), directory, scene_pictures[i], picture_cells[i]))
            return 1;
        if (font)
            label(cells.back(), std::string(file).substr(0, std::strlen(file) - 4).c_str());
    }
    cells.emplace_back();
    if (!draw_line_cell(cells.back(), directory, "afrogirl.txt", 0x6ec896, 0x1e4032))
        return 1;
    cells.emplace_back();
    if (!draw_line_cell(cells.back(), directory, "groovster.txt", 0xffa0a0, 0x640000))
        return 1;
    for (int frame = 0; font && frame < 3; ++frame) {
        cells.emplace_back();
        draw_font_cell(cells.back(), frame);
        const char frame_label[] = {'f', 'r', 'a', 'm', 'e', ' ', static_cast<char>('0' + frame), 0};
        label(cells.back(), frame_label);
    }
    if (font) {
        cells.emplace_back();
        Cell& title = cells.back();
        set_pair(title, 1, 0xffb4b4);   // scene 2's caption colours
        set_pair(title, 3, 0x000000);
        title.palette[129] = 0x805a5a;
        std::memset(title.pixels, 1, sizeof title.pixels);
        draw_caption(title.pixels, 160, 100, "tin kettles", 1, 0, 3);
    }
    return write_sheet(cells, output) ? 0 : 1;
}
