// The "transform" attribute: a list of matrix, translate, scale, rotate, skewX and skewY.
#pragma once

#include "svg_geometry.h"

#include <string>
#include <string_view>

// The list's combined transform (the first item outermost). False with a message
// naming the item and its character position on bad input.
bool parse_transform(std::string_view text, Affine& transform, std::string& error);
