// Whole files read and written in one call, as bytes or as text. A file that cannot be
// read reads as empty, which every caller's comparison then reports.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

std::string read_text(const std::filesystem::path& path);
std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path);
void write_text(const std::filesystem::path& path, const std::string& text);
void write_bytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
