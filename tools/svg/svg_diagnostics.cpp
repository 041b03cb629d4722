#include "svg_diagnostics.h"

namespace {

void report(Diagnostics& diagnostics, int line, const char* kind, const std::string& text)
{
    std::string message = diagnostics.file_name;
    if (line > 0) {
        message += ':';
        message += std::to_string(line);
    }
    message += ": ";
    message += kind;
    message += ": ";
    message += text;
    diagnostics.messages.push_back(message);
}

}  // namespace

void report_error(Diagnostics& diagnostics, int line, const std::string& text)
{
    ++diagnostics.error_count;
    report(diagnostics, line, "error", text);
}

void report_warning(Diagnostics& diagnostics, int line, const std::string& text)
{
    ++diagnostics.warning_count;
    report(diagnostics, line, "warning", text);
}
