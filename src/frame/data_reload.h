// Maker mode's watch on the data folder: a data file that changes on disk is loaded
// again, and kept only when it loads; the old one stays otherwise.
#pragma once

#include <cstdint>

// A file counts as written once it has been closed after writing (or moved into the
// folder) and nothing has touched it for this long since: a writer that pauses between
// parts while keeping the file open is never read half-way, and one that closes and
// reopens it quickly is read once, at the end.
inline constexpr std::uint32_t settle_ms = 300;

// Starts watching data_folder (inotify). False, with one line on standard error, when
// the system refuses; the demo then goes on without reloads.
bool start_data_watch();

// Takes the folder's news without waiting and loads every data file that has settled
// (see settle_ms) by now_ms, with one line on standard error for each: reloaded, or
// refused with the reason and the old data kept. A new module file is tried by the
// player before it replaces the old one; the caller has paused the output when it
// may be reloaded (see reload_waiting). Returns how many files were replaced.
int reload_changed_data(std::uint32_t now_ms);

// Whether a changed file has settled by now_ms and waits for reload_changed_data;
// takes the folder's news first.
bool reload_waiting(std::uint32_t now_ms);
