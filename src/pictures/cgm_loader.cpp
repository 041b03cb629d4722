// Loads the subset of clear-text CGM that the demo's pictures use: one colour table,
// colour, width and style selections, and polygon, rectangle and line elements.
#include "pictures/cgm_reader.h"
#include "pictures/file_scan.h"
#include "pictures/loader_extras.h"

#include <cerrno>
#include <new>

Picture* tunnel_picture;
Picture* tunnel_picture2;

namespace {

CgmReader start_reading(std::FILE* file, Picture* picture)
{
    CgmReader reader{};
    reader.file = file;
    reader.picture = picture;
    reader.fill_colour = 1;
    reader.line_colour = 1;
    reader.line_width = 1;
    reader.fill_on = true;
    reader.edges_visible = true;
    reader.next_position = 1;
    // These start values, not the integer extremes, so that the box of a picture lying
    // wholly beyond them still reaches them.
    reader.box = BoundingBox{10000, 10000, -10000, -10000};
    return reader;
}

bool skip_to_colour_table(std::FILE* file)
{
    Token token;
    while (read_token(file, &token))
        if (token_is(token, "colrtable"))
            return true;
    return false;
}

void read_line_width(CgmReader* reader)
{
    Token width;
    if (read_token(reader->file, &width))
        reader->line_width = token_value(width.text) / 15;
}

// Styles are matched on one character, upper case only; anything else keeps the setting.
void read_interior_style(CgmReader* reader)
{
    Token style;
    if (!read_token(reader->file, &style))
        return;
    if (style.text[0] == 'S')
        reader->fill_on = true;
    else if (style.text[0] == 'E')
        reader->fill_on = false;
}

void read_edge_visibility(CgmReader* reader)
{
    Token visibility;
    if (!read_token(reader->file, &visibility) || visibility.text[0] == '\0')
        return;
    if (visibility.text[1] == 'N')
        reader->edges_visible = true;
    else if (visibility.text[1] == 'F')
        reader->edges_visible = false;
}

// Acts on one word of the picture body; words that are no keyword are ignored.
void read_element(CgmReader* reader, const Token& token)
{
    if (token_is(token, "fillcolr"))
        select_colour(reader->file, &reader->fill_colour);
    else if (token_is(token, "linecolr"))
        select_colour(reader->file, &reader->line_colour);
    else if (token_is(token, "colrtable"))
        read_colour_entry(reader);
    else if (token_is(token, "backcolr"))
        read_background(reader);
    else if (token_is(token, "linewidth") || token_is(token, "edgewidth"))
        read_line_width(reader);
    else if (token_is(token, "intstyle"))
        read_interior_style(reader);
    else if (token_is(token, "edgevis"))
        read_edge_visibility(reader);
    else if (token_is(token, "polygon"))
        read_shape(reader, ShapeKind::polygon);
    else if (token_is(token, "line"))
        read_shape(reader, ShapeKind::line);
    else if (token_is(token, "rect"))
        read_shape(reader, ShapeKind::rect);
}

// Everything after the "BEGMF" word: a file cut short still yields what it held.
void read_picture_body(CgmReader* reader)
{
    if (skip_to_colour_table(reader->file)) {
        read_first_colour_table(reader);
        Token token;
        while (read_token(reader->file, &token))
            read_element(reader, token);
    }
    normalise_picture(reader->picture, reader->box);
    reader->picture->colour_count = reader->next_position - 1;
}

bool starts_metafile(std::FILE* file)
{
    Token first;
    return read_token(file, &first) && token_is(first, "BEGMF");
}

}   // namespace

Picture* load_picture(const char* file_name)
{
    std::FILE* file = std::fopen(file_name, "rb");
    if (!file) {
        note_open_failure(errno);
        return nullptr;
    }
    Picture* picture = new (std::nothrow) Picture{};
    if (!picture) {
        note_load_failure("out of memory");
    } else if (!starts_metafile(file)) {
        note_load_failure("not a clear-text CGM file (it does not begin with BEGMF)");
        delete picture;
        picture = nullptr;
    } else {
        CgmReader reader = start_reading(file, picture);
        try {
            read_picture_body(&reader);
        } catch (const std::bad_alloc&) {
            note_load_failure("out of memory");
            free_picture(picture);
            picture = nullptr;
        }
    }
    std::fclose(file);
    return picture;
}

int load_effect_pictures()
{
    tunnel_picture = load_picture("data/blinq.cgm");
    tunnel_picture2 = load_picture("data/blinq2.cgm");
    return tunnel_picture && tunnel_picture2 ? 1 : 0;
}
