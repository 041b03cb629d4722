// Copies of data/ with one file damaged.
#pragma once

#include <filesystem>
#include <string>

enum class Damage {
    missing,
    unreadable,   // a folder where the file should be: it opens, but reads fail
    empty,
    cut_to_16_bytes,
    cut_to_quarter,
    cut_to_half,
    last_byte_cut,
    random_bytes,   // the same length, every byte random
};

const char* damage_name(Damage damage);

// Copies `source_data` into `folder` as data/.
void intact_copy(const std::string& source_data, const std::filesystem::path& folder);

// Copies `source_data` into `folder` as data/, with `file` (a name inside data/)
// damaged: `folder` is then the one to run the demo in.
void damaged_copy(const std::string& source_data, const std::filesystem::path& folder,
                  const std::string& file, Damage damage);
