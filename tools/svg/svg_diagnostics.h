// Messages about the input, each with the file and line it concerns.
#pragma once

#include <string>
#include <vector>

struct Diagnostics {
    std::string file_name;
    std::vector<std::string> messages;
    int error_count = 0;
    int warning_count = 0;
};

// line 0 means the message concerns the whole file.
void report_error(Diagnostics& diagnostics, int line, const std::string& text);
void report_warning(Diagnostics& diagnostics, int line, const std::string& text);
