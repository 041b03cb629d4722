// Colour tables of a CGM picture. File colour indexes reach palette positions through
// the colour index map, which is deliberately kept from one load to the next: a
// picture may select an index that only an earlier picture defined.
#include "pictures/cgm_reader.h"
#include "pictures/file_scan.h"

namespace {

constexpr std::int32_t palette_capacity = 200;     // positions 0..199, 0 unused
constexpr std::int32_t colour_index_count = 100;   // file colour indexes 0..99

std::int32_t colour_index_map[colour_index_count];

bool is_colour_index(std::int32_t index)
{
    return index >= 0 && index < colour_index_count;
}

// r * 65536 + g * 256 + b, wrapping like the unsigned colour word it is stored in.
std::uint32_t pack_colour(std::int32_t r, std::int32_t g, std::int32_t b)
{
    return static_cast<std::uint32_t>(r) * 65536u + static_cast<std::uint32_t>(g) * 256u +
           static_cast<std::uint32_t>(b);
}

// Stores a colour at the next palette position; false (nothing stored) when the
// palette is full.
bool append_colour(CgmReader* reader, std::uint32_t colour, std::int32_t* position)
{
    if (reader->next_position >= palette_capacity)
        return false;
    *position = reader->next_position++;
    reader->picture->palette[*position] = colour;
    return true;
}

// The highest position before the next free one that already holds the colour, or 0.
std::int32_t find_colour(const CgmReader& reader, std::uint32_t colour)
{
    for (std::int32_t position = reader.next_position - 1; position >= 1; --position)
        if (reader.picture->palette[position] == colour)
            return position;
    return 0;
}

}   // namespace

// The file's first table gives its k-th entry palette position k and index k,
// whatever start index it names. It ends after the entry whose blue word ends in ";".
void read_first_colour_table(CgmReader* reader)
{
    Token start_index;
    if (!read_token(reader->file, &start_index))
        return;
    for (;;) {
        std::int32_t red = 0;
        std::int32_t green = 0;
        Token blue;
        read_integer(reader->file, &red);
        read_integer(reader->file, &green);
        if (!read_token(reader->file, &blue))
            return;
        std::int32_t position = 0;
        if (append_colour(reader, pack_colour(red, green, token_value(blue.text)), &position) &&
            is_colour_index(position))
            colour_index_map[position] = position;
        if (blue.last_char == ';')
            return;
    }
}

// A later "colrtable" defines one index; a colour already in the palette is reused.
void read_colour_entry(CgmReader* reader)
{
    std::int32_t index = 0;
    std::int32_t rgb[3] = {};
    bool complete = read_integer(reader->file, &index);
    for (std::int32_t& component : rgb)
        complete = read_integer(reader->file, &component) && complete;
    if (!complete || !is_colour_index(index))
        return;
    const std::uint32_t colour = pack_colour(rgb[0], rgb[1], rgb[2]);
    std::int32_t position = find_colour(*reader, colour);
    if (position != 0 || append_colour(reader, colour, &position))
        colour_index_map[index] = position;
}

void read_background(CgmReader* reader)
{
    std::int32_t rgb[3] = {};
    bool complete = true;
    for (std::int32_t& component : rgb)
        complete = read_integer(reader->file, &component) && complete;
    if (complete)
        reader->picture->background_colour = pack_colour(rgb[0], rgb[1], rgb[2]);
}

// Resolves the index once, now: redefining it later leaves the selection as it is.
void select_colour(std::FILE* file, std::int32_t* colour)
{
    Token index;
    if (!read_token(file, &index))
        return;
    const std::int32_t value = token_value(index.text);
    if (is_colour_index(value))
        *colour = colour_index_map[value];
}
