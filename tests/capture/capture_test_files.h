// Files and programs for the capture tests: scratch folders, whole files, PNG images
// and runs of the tool.
#pragma once

#include "common/files.h"
#include "common/png_file.h"
#include "common/program_run.h"
#include "common/scratch_folder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A folder of its own inside the test program's scratch folder.
inline fs::path scratch_folder(const std::string& name)
{
    const fs::path folder = program_scratch_folder() / name;
    fs::create_directories(folder);
    return folder;
}

inline bool same_colour(const std::uint8_t* p, int r, int g, int b)
{
    return p[0] == r && p[1] == g && p[2] == b;
}
