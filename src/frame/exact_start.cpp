#include "frame/exact_start.h"

#include "frame/data_folder.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/startup.h"
#include "sound/music_catch_up.h"
#include "sound/music_output.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::uint8_t original_module[module_buffer_bytes];
std::size_t original_size = 0;
std::uint8_t* playing_module = nullptr;   // the buffer the player reads

// The capture's bound: a song that never gets there would otherwise run for ever.
constexpr std::int64_t longest_catch_up_ms = 20 * 60 * 1000;
constexpr std::int64_t output_rate_hz = 44100;

// Everything a frame builds on, as start-up leaves it before the first frame: no scene
// begun, a work buffer of colour 127, an empty overlay and every colour black (the
// tables start zeroed, which is what black maps to on the 32-bit screen).
void reset_pictures()
{
    reset_timeline();
    work_buffer.fill(127);
    overlay_buffer.fill(0);
    display_buffer = work_buffer.data();
    for (int i = 0; i < 256; ++i)
        set_colour(i, 0, 0, 0);
    demo_time = 0;
}

bool rewind_song()
{
    const char* refusal = music_rewind(playing_module, original_module, original_size);
    if (refusal)
        std::fprintf(stderr, "%s: the module: %s\n", program_name, refusal);
    return !refusal;
}

// The sample of the stream that frame f shows: the frames show the position heard at
// their moment, as the capture draws them.
std::int64_t sample_of_frame(std::int64_t frame)
{
    return frame * output_rate_hz / catch_up_fps;
}

struct Progress {
    std::uint32_t started_ms;
    std::uint32_t shown_ms;
    bool shown;
};

void show_progress(Progress* progress, std::int32_t target)
{
    const std::uint32_t now = SDL_GetTicks();
    if (now - progress->started_ms < 1000 || now - progress->shown_ms < 250)
        return;
    const std::int32_t position = music_position() < 0 ? 0 : music_position();
    std::fprintf(stderr, "\r%s: catching up to %d: %3d %%", program_name, static_cast<int>(target),
                 static_cast<int>(static_cast<std::int64_t>(position) * 100 / (target > 0 ? target : 1)));
    progress->shown_ms = now;
    progress->shown = true;
}

// The first pass: ticks only (the position needs no mixing) and the frames, until the
// frame whose moment reaches the held tick. Returns the held tick, or -1.
std::int64_t draw_frames_to(std::int32_t target, ExactPlace* place)
{
    Progress progress{SDL_GetTicks(), 0, false};
    std::int64_t ticks = 0;
    std::int64_t held = -1;
    for (std::int64_t frame = 0;; ++frame) {
        if (frame * 1000 / catch_up_fps > longest_catch_up_ms) {
            std::fprintf(stderr, "%s: the music did not reach position %d in %lld minutes\n", program_name,
                         static_cast<int>(target), static_cast<long long>(longest_catch_up_ms / 60000));
            return -1;
        }
        const std::int64_t needed = ticks_run_by_sample(sample_of_frame(frame));
        for (; ticks < needed; ++ticks) {
            music_run_tick();
            if (held < 0 && music_position() >= target) {
                held = ticks;
                place->position = music_position();
            }
        }
        // The frames from the held tick's moment on are the real-time loop's.
        if (held >= 0 && frame * output_rate_hz >= first_sample_of_tick(held) * catch_up_fps) {
            place->frames_drawn = frame;
            break;
        }
        demo_time = static_cast<std::int32_t>(frame * 1000 / catch_up_fps);
        draw_frame(music_position());
        show_progress(&progress, target);
    }
    if (progress.shown)
        std::fprintf(stderr, "\n");
    return held;
}

// The second pass: the song again from its start, every tick mixed into nothing up to
// the held one, so that the voices stand where a whole run has them.
void play_sound_to(std::int64_t held)
{
    for (std::int64_t tick = 0; tick < held; ++tick) {
        music_run_tick();
        music_mix_tick_silently();
    }
    music_run_tick();
    music_hold_at_tick_start();
}

void write_start_frame(const ExactPlace& place)
{
    const char* path = std::getenv("TINKETTLES_START_FRAME");
    if (!path || !*path)
        return;
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return;
    std::fprintf(file, "P6\n# frame %lld position %d tick %lld\n640 480\n255\n",
                 static_cast<long long>(place.frames_drawn - 1), static_cast<int>(place.position),
                 static_cast<long long>(place.tick));
    SDL_LockSurface(screen);
    for (int y = 0; y < 480; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(screen->pixels) + y * screen->pitch);
        for (int x = 0; x < 640; ++x) {
            Uint8 rgb[3];
            SDL_GetRGB(row[x], screen->format, &rgb[0], &rgb[1], &rgb[2]);
            std::fwrite(rgb, 1, 3, file);
        }
    }
    SDL_UnlockSurface(screen);
    std::fclose(file);
}

}   // namespace

void keep_original_module(const ModuleFile& module)
{
    playing_module = module.bytes;
    replace_original_module(module.bytes, module.size);
}

void replace_original_module(const std::uint8_t* bytes, std::size_t size)
{
    original_size = size < module_buffer_bytes ? size : module_buffer_bytes;
    std::memcpy(original_module, bytes, original_size);
}

bool try_new_module(const std::uint8_t* bytes, std::size_t size)
{
    const std::size_t kept = size < module_buffer_bytes ? size : module_buffer_bytes;
    std::memcpy(playing_module, bytes, kept);
    if (!pt_takemod(playing_module, kept))
        return false;
    replace_original_module(bytes, kept);
    return true;
}

bool catch_up_to(std::int32_t target, ExactPlace* place)
{
    *place = ExactPlace{};
    reset_pictures();
    if (!rewind_song())
        return false;
    const std::int64_t held = draw_frames_to(target, place);
    if (held < 0 || !rewind_song())
        return false;
    play_sound_to(held);
    place->tick = held;
    place->demo_time = static_cast<std::int32_t>(first_sample_of_tick(held) * 1000 / output_rate_hz);
    // A frame on the way may have met the end position; the run goes on from here.
    quit_flag = 0;
    return true;
}

void start_output_at(const ExactPlace& place)
{
    music_resume();
    timeline_start_ticks = SDL_GetTicks() - static_cast<std::uint32_t>(place.demo_time);
}

bool start_exactly_at(std::int32_t target)
{
    ExactPlace place;
    if (!catch_up_to(target, &place))
        return false;
    present_frame();
    write_start_frame(place);
    music_play_from_hold(demo_ticks_per_second);
    timeline_start_ticks = SDL_GetTicks() - static_cast<std::uint32_t>(place.demo_time);
    return true;
}

bool start_playing_from(std::int32_t from, bool exact)
{
    if (!exact) {
        start_music_from_top();
        timeline_start_ticks = SDL_GetTicks();
        work_buffer.fill(127);
        return true;
    }
    return start_exactly_at(from < 0 ? 0 : from);
}
