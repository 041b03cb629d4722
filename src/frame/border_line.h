// The maker's line of text in the border below the picture: a small plain font of our
// own, drawn straight onto the 32-bit screen, never inside the picture's rows 40-439.
#pragma once

#include <SDL.h>

// First screen row of the text; the glyphs, 7 rows doubled, end at row 459.
inline constexpr int border_text_row = 446;

// Clears the border below the picture (rows 440-479) to black and, when `text` is not
// null, writes it there in white from column 8. Characters the font lacks show as
// spaces; what does not fit in the 640 columns is left out. The screen must be a
// 32-bit 640x480 surface.
void paint_border_line(SDL_Surface* surface, const char* text);
