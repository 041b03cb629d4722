// Reading a whole input file into memory.
#pragma once

#include <string>

// The bytes of the file at `path` in `text`. False after "program: cannot read path:
// reason" on standard error when it is missing or cannot be read to its end.
bool read_whole_file(const char* program, const std::string& path, std::string& text);
