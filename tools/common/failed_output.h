// What a tool leaves behind when it cannot finish an output file.
#pragma once

// Removes what a failed run left at `path` when that is a regular file. A device, a
// pipe or a link named as the output (/dev/full, /dev/stdout, a FIFO) stays as it was:
// a tool running as root must not unlink the system's files.
void remove_failed_output(const char* path);
