// A fresh, empty folder under the system's temporary folder, removed with everything in
// it when the record goes out of scope.
#pragma once

#include <filesystem>
#include <string>

struct ScratchFolder {
    std::filesystem::path path;

    // `name` becomes part of the folder's name, to tell the tests' folders apart.
    explicit ScratchFolder(const std::string& name = "test");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

// One folder for the whole test program, made at its first use and removed at exit.
const std::filesystem::path& program_scratch_folder();
