#include "failed_output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

void remove_failed_output(const char* path)
{
    // The caller may still be about to report the write's reason.
    const int reason = errno;
    struct stat status;
    if (lstat(path, &status) == 0 && S_ISREG(status.st_mode))
        std::remove(path);
    errno = reason;
}
