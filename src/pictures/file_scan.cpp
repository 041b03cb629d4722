#include "pictures/file_scan.h"

#include <cctype>
#include <cstring>

namespace {

constexpr std::int64_t magnitude_limit = std::int64_t{1} << 31;

bool is_space(int c)
{
    return c != EOF && std::isspace(static_cast<unsigned char>(c));
}

bool is_digit(int c)
{
    return c >= '0' && c <= '9';
}

// Folds one more digit into a magnitude that stops growing at 2^31.
std::int64_t add_digit(std::int64_t magnitude, int digit)
{
    const std::int64_t next = magnitude * 10 + digit;
    return next > magnitude_limit ? magnitude_limit : next;
}

std::int32_t signed_value(std::int64_t magnitude, bool negative)
{
    if (negative)
        return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(magnitude >= magnitude_limit ? magnitude_limit - 1 : magnitude);
}

}   // namespace

bool read_token(std::FILE* file, Token* token)
{
    int c = std::getc(file);
    while (is_space(c))
        c = std::getc(file);
    if (c == EOF)
        return false;
    int length = 0;
    while (c != EOF && !is_space(c)) {
        if (length < token_capacity - 1)
            token->text[length++] = static_cast<char>(c);
        token->last_char = static_cast<char>(c);
        c = std::getc(file);
    }
    token->text[length] = '\0';
    if (c != EOF)
        std::ungetc(c, file);
    return true;
}

bool read_integer(std::FILE* file, std::int32_t* value)
{
    *value = 0;
    int c = std::getc(file);
    while (is_space(c))
        c = std::getc(file);
    const bool negative = c == '-';
    if (c == '-' || c == '+')
        c = std::getc(file);
    if (!is_digit(c)) {
        if (c != EOF)
            std::ungetc(c, file);
        return false;
    }
    std::int64_t magnitude = 0;
    while (is_digit(c)) {
        magnitude = add_digit(magnitude, c - '0');
        c = std::getc(file);
    }
    if (c != EOF)
        std::ungetc(c, file);
    *value = signed_value(magnitude, negative);
    return true;
}

std::int32_t token_value(const char* text)
{
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    std::int64_t magnitude = 0;
    for (; is_digit(*text); ++text)
        magnitude = add_digit(magnitude, *text - '0');
    return signed_value(magnitude, negative);
}

bool token_is(const Token& token, const char* keyword)
{
    return std::strcmp(token.text, keyword) == 0;
}
