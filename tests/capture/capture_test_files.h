// Files and programs for the capture tests: scratch folders, whole files, PNG images
// and runs of the tool.
#pragma once

#include "common/files.h"
#include "common/png_file.h"
#include "common/scratch_folder.h"

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
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

inline int exit_status(int wait_status)
{
    return WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
}

inline bool same_colour(const std::uint8_t* p, int r, int g, int b)
{
    return p[0] == r && p[1] == g && p[2] == b;
}

// Runs a command in `run_in` (by default the scratch folder), its errors kept in the folder.
inline int run_tool(const std::string& arguments, const fs::path& folder, std::string* errors,
             const fs::path& run_in = {})
{
    const std::string command = "cd " + (run_in.empty() ? folder : run_in).string() + " && " + arguments +
                                " </dev/null >/dev/null 2>" + (folder / "errors.txt").string();
    const int status = exit_status(std::system(command.c_str()));
    *errors = read_text(folder / "errors.txt");
    return status;
}

