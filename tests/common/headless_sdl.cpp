// Every test program runs SDL headless, and so do the programs it starts, unless the
// caller chose drivers itself.
#include <cstdlib>

namespace {

const bool headless = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

}   // namespace
