// Copies of data/ with one file damaged.
#pragma once

#include <string>

enum class Damage {
    missing,
    unreadable,      // a folder where the file should be: it opens, but reads fail
    empty,
    cut_to_16_bytes,
    cut_to_quarter,
    cut_to_half,
    last_byte_cut,
    random_bytes,    // the same length, every byte random
};

const char* damage_name(Damage damage);

// Makes a new folder holding a copy of `source_data` as data/; returns the folder.
std::string intact_copy(const std::string& source_data);

// Makes a new folder holding a data/ copied from `source_data`, with `file` (a name
// inside data/) damaged; returns the new folder, the one to run the demo in.
std::string damaged_copy(const std::string& source_data, const std::string& file, Damage damage);

// Removes a folder made by damaged_copy.
void remove_copy(const std::string& folder);
