// Words quoted in the tools' messages.
#pragma once

#include <string>
#include <string_view>

// 'text' in quotes. Built by appending: GCC 12 misreads "'" + std::string(...) as an
// overlapping copy and warns (-Wrestrict) in optimised builds.
inline std::string quoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    out += text;
    out += '\'';
    return out;
}
