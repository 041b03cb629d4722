// Shared helpers of the converter tests: temporary files, converting an SVG text
// in-process, and loading the result with the demo's own loaders.
#pragma once

#include "cgm_writer.h"
#include "common/files.h"
#include "common/scratch_folder.h"
#include "line_drawing_writer.h"
#include "pictures/pictures.h"
#include "svg_reader.h"

#include <filesystem>
#include <string>

struct Conversion {
    bool ok = false;
    std::string output;
    Diagnostics diagnostics;
    SvgDrawing drawing;
};

// Reads the SVG text and writes it as a picture or a line drawing.
Conversion convert_svg(const std::string& svg, OutputKind kind = OutputKind::picture);
// An SVG document with the given viewBox and body.
std::string svg_document(const std::string& body, const std::string& view_box = "0 0 100 100",
                         const std::string& root_attributes = "");
// Writes the converter's output to a file and loads it with the demo's loader.
Picture* load_converted_picture(const std::string& cgm);
TextPicture* load_converted_text_picture(const std::string& text);
