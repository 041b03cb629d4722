// Messages about the files a tool reads, each naming its place:
// "file:line:column: error: text", or a warning alike. A tool that has any error
// writes nothing.
#pragma once

#include <string>
#include <vector>

struct Diagnostic {
    std::string file;
    int line;     // 0: the message concerns the whole file
    int column;   // 0: the message concerns the whole line
    std::string message;
};

struct Diagnostics {
    std::string file_name;   // the file being read, which the next reports name
    std::vector<Diagnostic> errors;
    std::vector<Diagnostic> warnings;
};

void add_error(Diagnostics& diagnostics, int line, int column, std::string message);
void add_warning(Diagnostics& diagnostics, int line, int column, std::string message);

// "file:line:column: error: message": line and column left out where they are 0.
std::string format_diagnostic(const Diagnostic& diagnostic, const char* severity);

// Every error, then every warning, one a line.
std::string format_diagnostics(const Diagnostics& diagnostics);
