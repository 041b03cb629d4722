#include "whole_file.h"

#include "command_line.h"

#include <cerrno>
#include <cstdio>

bool read_whole_file(const char* program, const std::string& path, std::string& text)
{
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return system_error(program, "cannot read", path.c_str());
    text.clear();
    char block[16384];
    std::size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        text.append(block, got);
    const bool failed = std::ferror(file) != 0;
    const int reason = errno;
    std::fclose(file);
    if (failed) {
        errno = reason;
        return system_error(program, "cannot read", path.c_str());
    }
    return true;
}
