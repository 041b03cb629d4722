// The demo in a web page. The browser owns the loop: start-up runs when the page has
// loaded, the music starts on the visitor's click or tap (browsers open sound only after
// a gesture), and each animation frame draws one frame at the position being heard. A
// hidden page pauses picture and music together and resumes both where they stood.
// Nothing here may block, or no audio callback, timer or frame could run.
#include "frame/calm.h"
#include "frame/demo_data.h"
#include "frame/display.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/timeline.h"
#include "sound/audio_output.h"
#include "sound/module_file.h"
#include "sound/music_render.h"
#include "sound/sound.h"

#include <emscripten.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum class Stage { idle, first_tick, playing };

Stage stage = Stage::idle;
bool sound_opened;
ModuleFile module;
// The module as read from disk: the player rewrites the working copy in place, so each
// run starts from this one.
std::uint8_t* pristine_module;
double last_frame_ms;
int frames_drawn;
std::int32_t drawn_position = -1;
// While the page is hidden: the frames stop, the sound's context or the silent clock
// stands still, and demo_time as it was when the page went.
bool paused;
Uint32 paused_demo_ms;

void open_sound()
{
    // As on the desktop, sound mode 2 (44100 Hz).
    if (!sound_start_mode('2')) {
        // Not a fault in a browser without Web Audio: the page tells the visitor.
        std::printf("tinkettles: no sound (%s); playing silently\n", last_error);
        std::fflush(stdout);
    }
}

void stop_music()
{
    if (sound_mode == 0) {
        SDL_SetTimer(0, nullptr);
        return;
    }
    // The end is drawn when it is heard: the buffers queued after it, already given to
    // Web Audio (audio_output_web.cpp keeps them), must not play on.
    EM_ASM(if (SDL.audio && SDL.audio.sources) SDL.audio.sources.splice(0).forEach(
        function(source) { source.stop(); }););
    // Closed, not paused: Emscripten's SDL goes on calling a paused device's callback,
    // and the player with it.
    SDL_CloseAudio();
}

bool restart_sound()
{
    if (sound_mode == 0 || open_audio_output(44100))
        return true;
    std::fprintf(stderr, "tinkettles: the audio device did not open again\n");
    return false;
}

void finish_run()
{
    emscripten_cancel_main_loop();
    stop_music();
    stage = Stage::idle;
    paused = false;
    EM_ASM(if (Module["onDemoEnd"]) Module["onDemoEnd"]());
}

void drain_events()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        // As on the desktop, only a mouse button (or a tap, which SDL turns into one)
        // ends the demo.
        if (event.type == SDL_MOUSEBUTTONDOWN)
            quit_flag = 1;
    }
}

// One pass of the main loop, with the position the listener hears rather than the one
// the mixer has reached: the browser's sound queue and output lie between the two.
void draw_heard_frame()
{
    drain_events();
    // Unsigned subtraction: the tick counter may wrap, the difference does not.
    demo_time = static_cast<std::int32_t>(SDL_GetTicks() - timeline_start_ticks);
    drawn_position = heard_position();
    draw_frame(drawn_position);
    present_frame();
}

void pause_run()
{
    paused = true;
    paused_demo_ms = SDL_GetTicks() - timeline_start_ticks;
    emscripten_pause_main_loop();
    if (sound_mode == 0)
        SDL_SetTimer(0, nullptr);
    else
        EM_ASM(if (SDL.audioContext) SDL.audioContext.suspend(););
}

void resume_run()
{
    paused = false;
    if (sound_mode == 0)
        // A new schedule from now: the clock owes nothing for the time away. Starting the
        // timer may restart Emscripten's SDL_GetTicks from 0 (SDL_Init does), so the
        // timeline's start is set after it.
        music_play(demo_ticks_per_second);
    else
        EM_ASM(if (SDL.audioContext) SDL.audioContext.resume(););
    // Before the first tick the timeline has not begun; it starts when the tick comes.
    if (stage == Stage::playing)
        timeline_start_ticks = SDL_GetTicks() - paused_demo_ms;
    emscripten_resume_main_loop();
}

void animation_frame()
{
    if (stage == Stage::first_tick) {
        // The first tick moves the position from -37 to 0; until it is heard the browser
        // keeps running the audio callback or the timer between frames.
        if (static_cast<std::uint32_t>(heard_position()) > 100)
            return;
        timeline_start_ticks = SDL_GetTicks();
        work_buffer.fill(127);
        stage = Stage::playing;
    }
    const double start = emscripten_get_now();
    draw_heard_frame();
    last_frame_ms = emscripten_get_now() - start;
    ++frames_drawn;
    if (quit_flag)
        finish_run();
}

}   // namespace

extern "C" {

// Starts (or starts again) the demo from its first row; the page calls it from the
// click handler so that the audio device opens inside the gesture. `calm` non-zero:
// the calm presentation, as `tinkettles --calm` (a call without it plays as always).
// Returns the sound mode: 2 with sound, 0 silent; -1 when the module was refused.
EMSCRIPTEN_KEEPALIVE int tk_web_start(int calm)
{
    if (stage != Stage::idle)
        return sound_mode;
    if (!calm)
        disable_calm_presentation();
    else if (!enable_calm_presentation())
        std::fprintf(stderr, "tinkettles: no memory for the calm presentation\n");
    paused = false;
    drawn_position = -1;
    if (!sound_opened) {
        open_sound();
        sound_opened = true;
    } else if (!restart_sound()) {
        return -1;
    }
    std::memcpy(module.bytes, pristine_module, module.size);
    reset_timeline();
    demo_time = 0;
    // Voices left sounding by an earlier run fall silent.
    sound_device.dev_init();
    sound_device.set_master_volume(64);
    if (!music_load(module.bytes, module.size)) {
        std::fprintf(stderr, "tinkettles: %s: %s\n", module.name, module_refusal_for_users(last_error));
        return -1;
    }
    music_play(demo_ticks_per_second);
    stage = Stage::first_tick;
    emscripten_set_main_loop(animation_frame, 0, 0);
    return sound_mode;
}

// The browser kept the audio device from starting (its sound stays suspended): the
// player goes on from where it stands on the silent device's clock, as on a desktop
// without an audio device.
EMSCRIPTEN_KEEPALIVE void tk_web_play_silently()
{
    if (stage == Stage::idle || sound_mode == 0 || paused)
        return;
    SDL_CloseAudio();
    sound_mode = 0;
    // Starting the timer restarts Emscripten's SDL_GetTicks from 0: demo_time carries on.
    const Uint32 elapsed = SDL_GetTicks() - timeline_start_ticks;
    music_play(demo_ticks_per_second);
    timeline_start_ticks = SDL_GetTicks() - elapsed;
}

// The page was hidden (1) or shown again (0): picture and music pause together and go
// on from where they stood, in step.
EMSCRIPTEN_KEEPALIVE void tk_web_set_hidden(int hidden)
{
    if (stage == Stage::idle || (hidden != 0) == paused)
        return;
    if (hidden)
        pause_run();
    else
        resume_run();
}

// What the page and its tests read between frames: the player's (mixer's) position,
// and the position the last frame drew, the one heard then (-1 before the first).
EMSCRIPTEN_KEEPALIVE int tk_web_position()
{
    return music_position();
}
EMSCRIPTEN_KEEPALIVE int tk_web_drawn_position()
{
    return drawn_position;
}
EMSCRIPTEN_KEEPALIVE int tk_web_scene()
{
    return scene_number(drawn_position < 0 ? music_position() : drawn_position);
}
EMSCRIPTEN_KEEPALIVE int tk_web_demo_time()
{
    return demo_time;
}
// The last frame's drawing and presentation time, from performance.now() around it.
EMSCRIPTEN_KEEPALIVE double tk_web_frame_ms()
{
    return last_frame_ms;
}
EMSCRIPTEN_KEEPALIVE int tk_web_frames()
{
    return frames_drawn;
}
// 1 while the calm presentation shows the frames.
EMSCRIPTEN_KEEPALIVE int tk_web_calm()
{
    return calm_presentation_on() ? 1 : 0;
}

}   // extern "C"

int main()
{
    // The data files come with the page, in /data of the program's own file system.
    if (chdir("/") != 0 || !load_demo_data())
        return 1;
    char message[module_message_capacity];
    module = read_module("data/da_wobble.mod", message, sizeof message);
    if (message[0] != '\0')
        std::fprintf(stderr, "tinkettles: %s\n", message);
    if (!module.bytes)
        return 1;
    pristine_module = static_cast<std::uint8_t*>(std::malloc(module.size));
    if (!pristine_module) {
        std::fprintf(stderr, "tinkettles: out of memory for the module\n");
        return 1;
    }
    std::memcpy(pristine_module, module.bytes, module.size);
    if (!open_display(true))
        return 1;
    // The rows above and below the picture stay as cleared: opaque black here, since
    // the page's canvas keeps the alpha byte that a desktop screen ignores.
    auto* pixels = static_cast<Uint32*>(screen->pixels);
    const Uint32 black = SDL_MapRGB(screen->format, 0, 0, 0);
    for (int i = 0; i < screen->pitch / 4 * screen->h; ++i)
        pixels[i] = black;
    EM_ASM(if (Module["onDemoReady"]) Module["onDemoReady"]());
    return 0;
}
