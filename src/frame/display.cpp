#include "frame/frame.h"
#include "frame/data_folder.h"
#include "frame/display.h"
#include "frame/video_driver.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

// SDL turns an interrupt or a termination request into a quit event, which the demo
// ignores like the window's close button; so that Ctrl-C and kill still end it, such a
// signal takes its default course instead.
extern "C" void end_on_signal(int signal_number)
{
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

bool names_driver(const char* requested, const char* driver)
{
    if (!requested)
        return false;
    // One name, or (on the SDL 2 based library) a comma-separated list of them.
    const std::size_t length = std::strlen(driver);
    for (const char* at = requested; *at;) {
        const char* end = std::strchr(at, ',');
        const std::size_t size = end ? static_cast<std::size_t>(end - at) : std::strlen(at);
        if (size == length && strncasecmp(at, driver, length) == 0)
            return true;
        if (!end)
            break;
        at = end + 1;
    }
    return false;
}

// The SDL 2 based library draws its window through an SDL 2 renderer, OpenGL where
// there is any: on an X server without a graphics card (Xvfb, a remote display) that
// is Mesa's software rasteriser, about 2.3 ms a frame and a quarter of a core at 100
// frames a second. A window the size of the picture needs no scaling, so it can go to
// the X server as it is, as the classic library sends it (a tenth of that). A full
// screen keeps the renderer, which scales. Names the user has set win; the classic
// library reads neither. Returns whether anything was set.
bool prefer_unscaled_window_drawing()
{
    if (std::getenv("SDL_RENDER_DRIVER") || std::getenv("SDL_FRAMEBUFFER_ACCELERATION"))
        return false;
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
    return true;
}

// A display whose driver offers no window of its own to draw into (Wayland's) needs
// a renderer after all: the mode is asked for again without the preference.
SDL_Surface* set_video_mode(Uint32 flags, bool drawing_preferred)
{
    SDL_Surface* surface = SDL_SetVideoMode(640, 480, 32, flags);
    if (!surface && drawing_preferred) {
        unsetenv("SDL_RENDER_DRIVER");
        unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
        surface = SDL_SetVideoMode(640, 480, 32, flags);
    }
    return surface;
}

}   // namespace

bool refuses_video_driver(const char* driver, const char* requested)
{
    // What SDL falls back to when no display opens: characters in the terminal, or
    // pictures in memory that no one sees.
    static const char* const unseen[] = {"caca", "aalib", "offscreen", "dummy"};
    for (const char* name : unseen) {
        if (strcasecmp(driver, name) == 0)
            return !names_driver(requested, name);
    }
    return false;
}

bool open_display(bool windowed)
{
    // SDL keeps handlers that are already installed.
    std::signal(SIGINT, end_on_signal);
    std::signal(SIGTERM, end_on_signal);
    // The SDL 2 based library scales a full screen smoothly unless asked otherwise,
    // which blurs the scan lines. The classic library does not read this.
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
    const bool drawing_preferred = windowed && prefer_unscaled_window_drawing();
    // Audio starts on its own later (sound_start), so that its failure only costs sound.
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "%s: SDL_Init failed: %s\n", program_name, SDL_GetError());
        return false;
    }
    char driver[64] = "";
    if (SDL_VideoDriverName(driver, sizeof driver) &&
        refuses_video_driver(driver, std::getenv("SDL_VIDEODRIVER"))) {
        // Quitting gives a text-mode driver's terminal back in its old state.
        SDL_Quit();
        std::fprintf(stderr, "%s: no display (set DISPLAY, or SDL_VIDEODRIVER=dummy to run headless)\n",
                     program_name);
        return false;
    }
    Uint32 flags = SDL_DOUBLEBUF;
    if (!windowed)
        flags |= SDL_FULLSCREEN;
    screen = set_video_mode(flags, drawing_preferred);
    if (!screen) {
        std::fprintf(stderr, "%s: SDL_SetVideoMode 640x480x32 failed: %s\n", program_name, SDL_GetError());
        return false;
    }
    // The 40 rows above and below the picture are never drawn again: clear them once.
    std::memset(screen->pixels, 0, static_cast<std::size_t>(screen->pitch) * 480);
    SDL_WM_SetCaption("Tin Kettles", nullptr);
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}
