// SDL 1.2's periodic timer, which Emscripten's SDL lacks, on the browser's interval
// timer: the silent sound device clocks the player with it. The callback runs on the
// page's own thread between frames, as the browser has no other.
#include <SDL.h>

#include <emscripten/eventloop.h>

namespace {

SDL_OldTimerCallback timer_callback;
Uint32 timer_interval;
long interval_id;
bool interval_running;

void stop_interval()
{
    if (interval_running)
        emscripten_clear_interval(interval_id);
    interval_running = false;
}

void on_interval(void*)
{
    const Uint32 next = timer_callback(timer_interval);
    if (next == timer_interval)
        return;
    // As in SDL 1.2, the callback's answer is the next interval; 0 stops the timer.
    stop_interval();
    timer_interval = next;
    if (next > 0) {
        interval_id = emscripten_set_interval(on_interval, next, nullptr);
        interval_running = true;
    }
}

}   // namespace

extern "C" int SDL_SetTimer(Uint32 interval, SDL_OldTimerCallback callback)
{
    stop_interval();
    timer_callback = callback;
    timer_interval = interval;
    if (interval > 0 && callback) {
        interval_id = emscripten_set_interval(on_interval, interval, nullptr);
        interval_running = true;
    }
    return 0;
}
