#include "frame/startup.h"

#include <cstring>

bool runs_windowed(int argc, const char* const* argv)
{
    if (argc >= 2 && argv[1] && std::strcmp(argv[1], "-w") == 0)
        return true;
    if (argc >= 1 && argv[0]) {
        const std::size_t length = std::strlen(argv[0]);
        return length > 0 && argv[0][length - 1] == 'w';
    }
    return false;
}
