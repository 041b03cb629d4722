#include "common/scratch_folder.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

ScratchFolder::ScratchFolder(const std::string& name)
{
    // mkdtemp picks a name no other process holds, so parallel tests never share one.
    std::string pattern = (std::filesystem::temp_directory_path() / ("tk-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        std::perror(pattern.c_str());
        std::abort();
    }
    path = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

const std::filesystem::path& program_scratch_folder()
{
    static const ScratchFolder folder("program");
    return folder.path;
}
