// Helpers for the pictures tests: data files written to a temporary folder, and a frame
// buffer with guard bytes on both sides to catch writes outside it.
#pragma once

#include "common/files.h"
#include "common/guarded_frame.h"
#include "common/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

inline std::string write_test_file(const std::string& name, const std::string& content)
{
    const std::string path = (program_scratch_folder() / name).string();
    write_text(path, content);
    return path;
}
