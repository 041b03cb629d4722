#include "text_lines.h"

#include <charconv>

namespace compose {

std::string_view strip_comment(std::string_view line)
{
    // '#' starts a comment at the start of a line or after a blank; inside a
    // word it is a sharp, as in C#2.
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            line = line.substr(0, i);
            break;
        }
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

std::vector<Word> split_words(std::string_view text, int column_base)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(Word{text.substr(start, i - start), column_base + static_cast<int>(start)});
    }
    return words;
}

bool parse_int(std::string_view text, int& value)
{
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

bool parse_double(std::string_view text, double& value)
{
    // from_chars for double is locale-independent and exact.
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

bool parse_hex(std::string_view text, int& value)
{
    const char* end = text.data() + text.size();
    auto result = std::from_chars(text.data(), end, value, 16);
    return result.ec == std::errc() && result.ptr == end && !text.empty();
}

}   // namespace compose
