// Reading helpers for the clear-text data files. They behave like formatted input
// ("%s" and "%d") but never overrun a buffer and always make progress, so no file can
// make a loader write out of bounds or wait for ever at its end.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int token_capacity = 64;

// One white-space-delimited word. A longer word keeps its first characters; last_char
// is the word's real last character either way.
struct Token {
    char text[token_capacity];
    char last_char;
};

// Reads the next word; false when the file has no more words.
bool read_token(std::FILE* file, Token* token);

// Reads a decimal integer the way "%d" does: skips white space, takes an optional sign
// and digits, and leaves the first character after them in the file. False, with the
// value 0, when no digits follow. Values beyond 32 bits saturate.
bool read_integer(std::FILE* file, std::int32_t* value);

// The leading decimal number of a word (optional sign); 0 when it starts without one.
std::int32_t token_value(const char* text);

bool token_is(const Token& token, const char* keyword);
