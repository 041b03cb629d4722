// A module file read from disk into a buffer of its own, the one way every program
// here reads one, and the words a user is shown when the player refuses a module.
// Nothing here prints: failures come back as a reason for the caller to print.
#pragma once

#include <cstddef>
#include <cstdint>

// The demo reads its module into a buffer of this size; offline renders do the same.
inline constexpr std::size_t module_buffer_bytes = 1000000;

// Reading a module file the way the demo does: at most module_buffer_bytes bytes.
enum class ModuleReadStatus { whole, cut_short, cannot_open, cannot_read };

struct ModuleRead {
    std::size_t size = 0;   // bytes read into the buffer
    ModuleReadStatus status = ModuleReadStatus::whole;
    int error_number = 0;   // errno when it cannot be opened
};

// Reads the file at `path` into buffer, which holds module_buffer_bytes. A file longer
// than that is cut_short: its first module_buffer_bytes are there, and usable.
ModuleRead read_module_file(const char* path, std::uint8_t* buffer);

inline bool module_read_failed(const ModuleRead& read)
{
    return read.status == ModuleReadStatus::cannot_open || read.status == ModuleReadStatus::cannot_read;
}

// Room for describe_module_read's line with any path the system can open.
inline constexpr std::size_t module_message_capacity = 8192;

// One line, without the program's name, saying what went wrong or that the file was
// cut short; for a read that was not whole.
void describe_module_read(const ModuleRead& read, const char* path, char* out, std::size_t capacity);

// A module file read whole into a buffer of module_buffer_bytes from malloc. The player
// rewrites the buffer in place and its voices play from it, so it is kept for as long
// as the music plays.
struct ModuleFile {
    const char* name;      // the path it was read from
    std::uint8_t* bytes;   // nullptr when it could not be read
    std::size_t size;      // bytes actually read
};

// Reads the file at `path` (which must outlive the result: it becomes the name). On
// failure returns no bytes, and `message` holds the reason. A file longer than the
// buffer is usable (its first module_buffer_bytes) and `message` says so; otherwise
// `message` is empty. `capacity` of module_message_capacity holds any path.
ModuleFile read_module(const char* path, char* message, std::size_t capacity);

// Frees the buffer, if any, and empties the record.
void free_module(ModuleFile* module);

// What to tell a user when the player refused a module for `reason` (its last_error):
// the loader's own texts speak of its internals, this speaks of the file. Returns
// `reason` itself when it needs no rewording. Never nullptr for a non-null reason.
const char* module_refusal_for_users(const char* reason);
