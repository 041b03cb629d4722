#include "svg_numbers.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

}   // namespace

void skip_spaces(NumberScanner& scanner)
{
    while (scanner.position < scanner.text.size() && is_space(scanner.text[scanner.position]))
        ++scanner.position;
}

void skip_separators(NumberScanner& scanner)
{
    skip_spaces(scanner);
    if (scanner.position < scanner.text.size() && scanner.text[scanner.position] == ',') {
        ++scanner.position;
        skip_spaces(scanner);
    }
}

bool at_end(NumberScanner& scanner)
{
    skip_separators(scanner);
    return scanner.position >= scanner.text.size();
}

bool read_number(NumberScanner& scanner, double& value)
{
    skip_separators(scanner);
    const std::string_view text = scanner.text;
    std::size_t end = scanner.position;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    std::size_t digits = 0;
    while (end < text.size() && is_digit(text[end])) {
        ++end;
        ++digits;
    }
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && is_digit(text[end])) {
            ++end;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    // An exponent only counts when digits follow it: "1e" leaves the "e" alone.
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && is_digit(text[exponent])) {
            while (exponent < text.size() && is_digit(text[exponent]))
                ++exponent;
            end = exponent;
        }
    }
    const std::string number(text.substr(scanner.position, end - scanner.position));
    value = std::strtod(number.c_str(), nullptr);
    scanner.position = end;
    return true;
}

bool read_flag(NumberScanner& scanner, bool& flag)
{
    skip_separators(scanner);
    if (scanner.position >= scanner.text.size())
        return false;
    const char c = scanner.text[scanner.position];
    if (c != '0' && c != '1')
        return false;
    flag = c == '1';
    ++scanner.position;
    return true;
}

bool parse_length(std::string_view text, double& value)
{
    NumberScanner scanner{text, 0};
    if (!read_number(scanner, value))
        return false;
    if (scanner.text.substr(scanner.position, 2) == "px")
        scanner.position += 2;
    skip_spaces(scanner);
    return scanner.position == scanner.text.size();
}
