// Where the demo's fourteen data files are found, and the program name that starts
// every message about them.
#pragma once

#include <cstddef>

// The name that starts every line the start-up code writes to standard error; a tool
// that runs the demo's start-up sets its own.
extern const char* program_name;

inline constexpr std::size_t data_path_capacity = 4096;

// The fourteen files a data folder holds. A folder the search finds on its own counts
// only when every one of them is there.
inline constexpr const char* demo_data_files[] = {
    "afrogirl.txt",   "groovster.txt", "ankels.cgm", "blinq.cgm",    "blinq2.cgm",
    "bottles.cgm",    "flonk1.cgm",    "flonk2.cgm", "strutto.cgm",  "wobbli.cgm",
    "struttoblk.cgm", "zippsy.cgm",    "fontti.raw", "da_wobble.mod"};
inline constexpr std::size_t demo_data_file_count = sizeof demo_data_files / sizeof demo_data_files[0];

// How a data folder was chosen, in the order the search tries them.
enum class DataSource { option, environment, working_directory, installed };

struct DataFolder {
    char path[data_path_capacity];   // no trailing slash; "data" for ./data
    DataSource source;
};

// The folder the data files are read from; "data" in the working directory until a
// search picks another.
extern DataFolder data_folder;

// The places the search may look, as the caller knows them.
struct DataSearch {
    const char* option_folder;   // --data DIR, or nullptr
    const char* environment;     // the value of TINKETTLES_DATA, or nullptr
    const char* executable;      // the program's own path, or nullptr when unknown
    // How messages name the option's folder, before its path.
    const char* option_label = "--data ";
};

// The installed data folder for an executable: ../share/tinkettles/data from the
// executable's folder ("/usr/bin/tinkettles" -> "/usr/share/tinkettles/data",
// "./tinkettles" -> "./../share/tinkettles/data"). False when the path has no folder
// part or the result does not fit in `capacity` bytes.
bool installed_data_folder(const char* executable, char* out, std::size_t capacity);

// Chooses the data folder: the option's folder, else the environment's, else "data" in
// the working directory, else the installed folder beside the executable. A folder
// named by the option or the environment is taken without looking further; it must
// exist (a file missing from it is the loader's to name). The other two count only
// when they hold all of demo_data_files; otherwise the search goes on. False, with
// one line on standard error naming every place looked at and what each lacked, when
// no folder is found.
bool find_data_folder(const DataSearch& search, DataFolder* found);

// The same search with the environment variable and /proc/self/exe, storing the
// result in data_folder. `option_label` names the option's folder in messages (a tool
// that takes the folder as an operand names it otherwise).
bool find_demo_data_folder(const char* option_folder, const char* option_label = "--data ");

// The path to open for a data file the demo names as "data/NAME": NAME inside
// data_folder (exactly "data/NAME" while the folder is ./data). False when it does not
// fit in `capacity` bytes.
bool data_file_path(const char* name, char* out, std::size_t capacity);
