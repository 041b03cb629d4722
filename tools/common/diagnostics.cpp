#include "diagnostics.h"

#include <utility>

void add_error(Diagnostics& diagnostics, int line, int column, std::string message)
{
    diagnostics.errors.push_back(Diagnostic{diagnostics.file_name, line, column, std::move(message)});
}

void add_warning(Diagnostics& diagnostics, int line, int column, std::string message)
{
    diagnostics.warnings.push_back(Diagnostic{diagnostics.file_name, line, column, std::move(message)});
}

std::string format_diagnostic(const Diagnostic& diagnostic, const char* severity)
{
    std::string text = diagnostic.file;
    if (diagnostic.line > 0) {
        text += ':';
        text += std::to_string(diagnostic.line);
        if (diagnostic.column > 0) {
            text += ':';
            text += std::to_string(diagnostic.column);
        }
    }
    text += ": ";
    text += severity;
    text += ": ";
    text += diagnostic.message;
    return text;
}

std::string format_diagnostics(const Diagnostics& diagnostics)
{
    std::string text;
    for (const Diagnostic& error : diagnostics.errors)
        text += format_diagnostic(error, "error") + '\n';
    for (const Diagnostic& warning : diagnostics.warnings)
        text += format_diagnostic(warning, "warning") + '\n';
    return text;
}
