#include "damage.h"

#include "common/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Writes the first `count` of `bytes` (all of them when there are fewer).
void write_start(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::size_t count)
{
    write_bytes(path, {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(count, bytes.size()))});
}

// The same random bytes for the same file on every run, so a failure can be repeated.
std::vector<std::uint8_t> random_bytes(const std::string& file, std::size_t count)
{
    std::mt19937 generator(static_cast<std::uint32_t>(std::hash<std::string>{}(file)));
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(generator() & 0xFF);
    return bytes;
}

}  // namespace

const char* damage_name(Damage damage)
{
    switch (damage) {
    case Damage::missing: return "missing";
    case Damage::unreadable: return "unreadable";
    case Damage::empty: return "empty";
    case Damage::cut_to_16_bytes: return "cut_to_16_bytes";
    case Damage::cut_to_quarter: return "cut_to_quarter";
    case Damage::cut_to_half: return "cut_to_half";
    case Damage::last_byte_cut: return "last_byte_cut";
    case Damage::random_bytes: return "random_bytes";
    }
    return "?";
}

std::string intact_copy(const std::string& source_data)
{
    std::string pattern = ::testing::TempDir() + "tk_hostile_XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    fs::copy(source_data, fs::path(pattern) / "data", fs::copy_options::recursive);
    return pattern;
}

std::string damaged_copy(const std::string& source_data, const std::string& file, Damage damage)
{
    const fs::path folder = intact_copy(source_data);

    const fs::path target = folder / "data" / file;
    const std::vector<std::uint8_t> original = read_bytes(target);
    const std::size_t size = original.size();
    switch (damage) {
    case Damage::missing: fs::remove(target); break;
    case Damage::unreadable: fs::remove(target); fs::create_directory(target); break;
    case Damage::empty: write_start(target, original, 0); break;
    case Damage::cut_to_16_bytes: write_start(target, original, 16); break;
    case Damage::cut_to_quarter: write_start(target, original, size / 4); break;
    case Damage::cut_to_half: write_start(target, original, size / 2); break;
    case Damage::last_byte_cut: write_start(target, original, size - 1); break;
    case Damage::random_bytes: write_start(target, random_bytes(file, size), size); break;
    }
    return folder.string();
}

void remove_copy(const std::string& folder)
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
