#include "svg_test_support.h"

Conversion convert_svg(const std::string& svg, OutputKind kind)
{
    Conversion conversion;
    conversion.diagnostics.file_name = "test.svg";
    ReadOptions options;
    options.kind = kind;
    if (!read_svg(svg, options, conversion.drawing, conversion.diagnostics))
        return conversion;
    if (kind == OutputKind::picture) {
        CgmSummary summary;
        conversion.ok =
            write_cgm(conversion.drawing, "test", conversion.output, summary, conversion.diagnostics);
    } else {
        LineDrawingSummary summary;
        conversion.ok =
            write_line_drawing(conversion.drawing, conversion.output, summary, conversion.diagnostics);
    }
    return conversion;
}

std::string svg_document(const std::string& body, const std::string& view_box,
                         const std::string& root_attributes)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + view_box + "\" " + root_attributes +
           ">\n" + body + "\n</svg>\n";
}

Picture* load_converted_picture(const std::string& cgm)
{
    const std::filesystem::path path = program_scratch_folder() / "converted.cgm";
    write_text(path, cgm);
    return load_picture(path.c_str());
}

TextPicture* load_converted_text_picture(const std::string& text)
{
    const std::filesystem::path path = program_scratch_folder() / "converted.txt";
    write_text(path, text);
    return load_text_picture(path.c_str());
}
