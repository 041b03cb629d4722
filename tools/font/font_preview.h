// A picture of the font as the demo shows it: every glyph in each of the three
// frames plus one rippling caption, over the first scene's colours, enlarged twice with
// every second line dimmed.
#pragma once

#include "font_image.h"

bool write_font_preview(const FontImage& image, const std::string& png_path, std::string& error);
