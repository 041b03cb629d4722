#include "frame/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* program_name = "tinkettles";
DataFolder data_folder = {"data", DataSource::working_directory};

namespace {

constexpr char working_folder[] = "data";
constexpr char installed_suffix[] = "share/tinkettles/data";
// A folder's path leaves room for a slash and the longest data file name, so that
// data_file_path never cuts one short.
constexpr std::size_t folder_capacity = data_path_capacity - 32;

// Copies text into out; false when it does not fit with its terminating zero.
bool copy_text(const char* text, char* out, std::size_t capacity)
{
    const std::size_t length = std::strlen(text);
    if (length >= capacity)
        return false;
    std::memcpy(out, text, length + 1);
    return true;
}

// 0 when `path` is a folder, else the errno that says why not.
int folder_fault(const char* path)
{
    struct stat info;
    if (stat(path, &info) != 0)
        return errno;
    return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

// A folder the user named: it is the one to use, so a fault with it ends the search.
bool take_named_folder(const char* what, const char* path, DataSource source, DataFolder* found)
{
    const int fault = *path == '\0' ? ENOENT : folder_fault(path);
    if (fault != 0) {
        std::fprintf(stderr, "%s: %s%s: %s\n", program_name, what, path, std::strerror(fault));
        return false;
    }
    if (!copy_text(path, found->path, folder_capacity)) {
        std::fprintf(stderr, "%s: %s...: too long a path\n", program_name, what);
        return false;
    }
    // A trailing slash would double the one the file names add.
    std::size_t length = std::strlen(found->path);
    while (length > 1 && found->path[length - 1] == '/')
        found->path[--length] = '\0';
    found->source = source;
    return true;
}

// Appends text to the message, cutting it short (never overrunning) when it is full.
void append(char* message, std::size_t capacity, const char* text)
{
    const std::size_t used = std::strlen(message);
    if (used + 1 < capacity)
        std::snprintf(message + used, capacity - used, "%s", text);
}

bool holds_file(const char* folder, const char* name)
{
    char path[data_path_capacity];
    const int written = std::snprintf(path, sizeof path, "%s/%s", folder, name);
    struct stat info;
    return written > 0 && static_cast<std::size_t>(written) < sizeof path && stat(path, &info) == 0 &&
           S_ISREG(info.st_mode);
}

// True when `folder` holds every data file; otherwise appends to `message` what it
// lacks ("no folder PATH", "PATH holds none of the data files", or the missing files
// by path), with the folder called `label`.
bool complete_folder(const char* folder, const char* label, char* message, std::size_t capacity)
{
    if (message[0] != '\0')
        append(message, capacity, "; ");
    if (folder_fault(folder) != 0) {
        append(message, capacity, "no folder ");
        append(message, capacity, label);
        return false;
    }
    std::size_t missing = 0;
    for (const char* name : demo_data_files)
        if (!holds_file(folder, name))
            ++missing;
    if (missing == 0)
        return true;
    if (missing == demo_data_file_count) {
        append(message, capacity, label);
        append(message, capacity, " holds none of the data files");
        return false;
    }
    std::size_t listed = 0;
    for (const char* name : demo_data_files) {
        if (holds_file(folder, name))
            continue;
        append(message, capacity, listed++ == 0 ? "" : ", ");
        append(message, capacity, label);
        append(message, capacity, "/");
        append(message, capacity, name);
    }
    append(message, capacity, missing == 1 ? " is missing" : " are missing");
    return false;
}

}   // namespace

bool installed_data_folder(const char* executable, char* out, std::size_t capacity)
{
    if (!executable)
        return false;
    const char* end = std::strrchr(executable, '/');
    if (!end)
        return false;
    const int folder_length = static_cast<int>(end - executable);
    int written = 0;
    if (executable[0] == '/') {
        // An absolute path without links, as the system gives it: cut the executable's
        // folder off its path ("/usr/bin/tinkettles" -> "/usr/share/tinkettles/data").
        int parent = folder_length;
        while (parent > 0 && executable[parent - 1] != '/')
            --parent;
        written =
            std::snprintf(out, capacity, "%.*s%s", parent > 0 ? parent : 1, executable, installed_suffix);
    } else {
        // A relative folder may be "." or "..": step out of it by name.
        written = std::snprintf(out, capacity, "%.*s/../%s", folder_length, executable, installed_suffix);
    }
    return written > 0 && static_cast<std::size_t>(written) < capacity;
}

bool find_data_folder(const DataSearch& search, DataFolder* found)
{
    if (search.option_folder)
        return take_named_folder(search.option_label, search.option_folder, DataSource::option, found);
    if (search.environment && *search.environment != '\0')
        return take_named_folder("TINKETTLES_DATA=", search.environment, DataSource::environment, found);
    // What each place lacked, for the message when none will do.
    char lacks[data_path_capacity * 2] = "";
    // Called "./data" in the message, so that it reads as a place.
    if (complete_folder(working_folder, "./data", lacks, sizeof lacks)) {
        copy_text(working_folder, found->path, sizeof found->path);
        found->source = DataSource::working_directory;
        return true;
    }
    char installed[data_path_capacity];
    const bool has_installed = installed_data_folder(search.executable, installed, folder_capacity);
    if (has_installed && complete_folder(installed, installed, lacks, sizeof lacks)) {
        copy_text(installed, found->path, sizeof found->path);
        found->source = DataSource::installed;
        return true;
    }
    if (!has_installed)
        append(lacks, sizeof lacks, "; no installed share/tinkettles/data known");
    std::fprintf(stderr,
                 "%s: cannot find the data folder: %s; run it in the folder that holds data/, or give "
                 "--data DIR or TINKETTLES_DATA\n",
                 program_name, lacks);
    return false;
}

bool find_demo_data_folder(const char* option_folder, const char* option_label)
{
    char executable[data_path_capacity];
    const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1);
    if (length > 0)
        executable[length] = '\0';
    const DataSearch search{option_folder, std::getenv("TINKETTLES_DATA"), length > 0 ? executable : nullptr,
                            option_label};
    return find_data_folder(search, &data_folder);
}

bool data_file_path(const char* name, char* out, std::size_t capacity)
{
    constexpr char prefix[] = "data/";
    constexpr std::size_t prefix_length = sizeof prefix - 1;
    const char* inside = std::strncmp(name, prefix, prefix_length) == 0 ? name + prefix_length : name;
    const int written = std::snprintf(out, capacity, "%s/%s", data_folder.path, inside);
    return written > 0 && static_cast<std::size_t>(written) < capacity;
}
