#include "damage.h"

#include "common/files.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Writes the first `count` of `bytes` (all of them when there are fewer).
void write_start(const fs::path& path, const std::vector<std::uint8_t>& bytes, std::size_t count)
{
    write_bytes(path,
                {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(count, bytes.size()))});
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

}   // namespace

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

void intact_copy(const std::string& source_data, const fs::path& folder)
{
    fs::copy(source_data, folder / "data", fs::copy_options::recursive);
}

void damaged_copy(const std::string& source_data, const fs::path& folder, const std::string& file,
                  Damage damage)
{
    intact_copy(source_data, folder);
    const fs::path target = folder / "data" / file;
    const std::vector<std::uint8_t> original = read_bytes(target);
    const std::size_t size = original.size();
    switch (damage) {
    case Damage::missing: fs::remove(target); break;
    case Damage::unreadable:
        fs::remove(target);
        fs::create_directory(target);
        break;
    case Damage::empty: write_start(target, original, 0); break;
    case Damage::cut_to_16_bytes: write_start(target, original, 16); break;
    case Damage::cut_to_quarter: write_start(target, original, size / 4); break;
    case Damage::cut_to_half: write_start(target, original, size / 2); break;
    case Damage::last_byte_cut: write_start(target, original, size - 1); break;
    case Damage::random_bytes: write_start(target, random_bytes(file, size), size); break;
    }
}
