// The picture and font loaders read named files, so each fuzz input is written to a
// scratch file first. One file per process: parallel fuzzing jobs do not meet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

inline const char* input_file_name()
{
    static char name[128];
    if (name[0] == '\0') {
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::snprintf(name, sizeof name, "%s/tinkettles-fuzz-%d", dir, static_cast<int>(getpid()));
    }
    return name;
}

// Writes the input and returns the file's name; aborts when the scratch file cannot be
// written, since every later result would be meaningless.
inline const char* write_input_file(const std::uint8_t* data, std::size_t size)
{
    const char* name = input_file_name();
    std::FILE* file = std::fopen(name, "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(name);
        std::abort();
    }
    return name;
}
