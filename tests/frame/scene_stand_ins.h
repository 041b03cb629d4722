// Hand-made stand-ins for the demo's data, for driving the scene timeline: small
// in-memory pictures and line drawings, and a caption font whose glyphs carry their
// own character code, so that a caption drawn into a frame can be read back.
#pragma once

#include "frame/frame.h"
#include "pictures/pictures.h"

#include <cstdint>
#include <string>

// The ten pictures of the demo, in the order of their loading.
enum StandInPicture {
    stand_in_wobbli,
    stand_in_zippsy,
    stand_in_ankels,
    stand_in_flonk1,
    stand_in_flonk2,
    stand_in_strutto,
    stand_in_struttoblk,
    stand_in_bottles,
    stand_in_blinq,
    stand_in_blinq2,
    stand_in_picture_count
};

// Palette position 1..100 of a stand-in picture: each picture's colours differ from
// every other's.
std::uint32_t stand_in_colour(int picture, int position);

// Each stand-in is one small filled triangle at its centre in its own palette
// position, so that the pixels drawn tell which picture was drawn.
std::uint8_t stand_in_shape_colour(int picture);

// Points demo_data and the tunnel pictures at the stand-ins, with line drawings of
// 40 short strokes.
void install_stand_in_data();

// Writes the readable font to a file in a temporary folder, loads it with load_font
// and removes the folder again.
void load_readable_font();

// Reads back a caption drawn with the readable font in `colour`, laid out as
// draw_caption lays out `expected` (so a centred caption of another length does not
// match). Characters without a glyph read as spaces.
std::string read_caption(const std::uint8_t* buffer, std::int32_t x, std::int32_t y, std::int32_t centred,
                         std::uint8_t colour, const std::string& expected);

// Number of pixels of one colour index in a frame buffer.
std::int32_t count_colour(const std::uint8_t* buffer, std::uint8_t colour);
