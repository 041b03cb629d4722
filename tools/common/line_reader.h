// Reading the tools' text sources line by line, and telling files apart by their ending.
#pragma once

#include <cctype>
#include <string_view>
#include <vector>

// The lines of a whole file, without their line feeds, numbered from 1 by their index
// + 1. A last line without a line feed counts; the empty tail after a final line feed
// does not. A carriage return before a line feed stays at the end of its line.
inline std::vector<std::string_view> split_lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// True when `name` ends in `ending` (lower case, e.g. ".cgm"), in any case, after at
// least one character of its own: "Ankels.CGM" has ".cgm", ".cgm" alone does not.
inline bool has_suffix(std::string_view name, std::string_view ending)
{
    if (name.size() <= ending.size())
        return false;
    const std::string_view tail = name.substr(name.size() - ending.size());
    for (std::size_t k = 0; k < ending.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(tail[k])) != ending[k])
            return false;
    return true;
}
