// A picture of the font as the demo shows it: every glyph in each of the three
// frames plus one rippling caption, over the first scene's colours, enlarged twice with
// every second line dimmed.
#pragma once

#include "font_image.h"

// False after a message that starts with `program` on standard error.
bool write_font_preview(const char* program, const FontImage& image, const std::string& png_path);
