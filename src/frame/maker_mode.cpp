#include "frame/maker_mode.h"

#include "frame/border_line.h"
#include "frame/data_folder.h"
#include "frame/data_reload.h"
#include "frame/demo_options.h"
#include "frame/exact_start.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/scene_facts.h"
#include "frame/timeline.h"
#include "sound/music_output.h"
#include "sound/sound.h"

#include <chrono>
#include <cstdio>

namespace {

struct MakerState {
    bool paused;
    std::int32_t paused_demo_time;   // demo_time at which the pause holds the picture
    bool looping;
    LoopPart loop;
    bool line_shown;
    std::int32_t last_position;
    // Frames per second and the mean cost of drawing one, over the last whole second.
    std::uint32_t window_start_ms;
    std::int32_t window_frames;
    std::int64_t window_cost_us;
    std::int32_t fps;
    std::int64_t cost_us;
};

std::int32_t scene_first(int scene_index)
{
    return scene_index <= 0 ? 0 : scene_spans[scene_index].first;
}

// Re-enters the music at `target` exactly; stays paused when paused.
bool jump_to(MakerState* state, std::int32_t target)
{
    if (!state->paused)
        music_pause();
    ExactPlace place;
    if (!catch_up_to(target, &place))
        return false;
    state->last_position = place.position;
    std::fprintf(stderr, "%s: at %d (scene %d)\n", program_name, static_cast<int>(place.position),
                 static_cast<int>(scene_number(place.position)));
    if (state->paused) {
        state->paused_demo_time = place.demo_time;
        demo_time = place.demo_time;
    } else {
        start_output_at(place);
    }
    return true;
}

void toggle_pause(MakerState* state)
{
    if (state->paused) {
        music_resume();
        timeline_start_ticks = SDL_GetTicks() - static_cast<std::uint32_t>(state->paused_demo_time);
    } else {
        music_pause();
        state->paused_demo_time = demo_time;
    }
    state->paused = !state->paused;
    std::fprintf(stderr, "%s: %s at %d\n", program_name, state->paused ? "paused" : "playing",
                 static_cast<int>(state->last_position));
}

// One key; false when the maker asked to quit or a jump failed.
bool take_key(MakerState* state, SDLKey key, const DemoOptions& options, bool part_given)
{
    const std::int32_t position = state->last_position;
    std::int32_t target = -1;
    switch (key) {
    case SDLK_ESCAPE: return false;
    case SDLK_SPACE: toggle_pause(state); return true;
    case SDLK_LEFT: target = scene_jump_target(position, -1, end_position); break;
    case SDLK_RIGHT: target = scene_jump_target(position, 1, end_position); break;
    case SDLK_PAGEUP: target = order_jump_target(position, -1, end_position); break;
    case SDLK_PAGEDOWN: target = order_jump_target(position, 1, end_position); break;
    case SDLK_l:
        state->looping = !state->looping;
        state->loop = loop_part(position, options, part_given);
        if (state->looping)
            std::fprintf(stderr, "%s: looping %d to %d\n", program_name, static_cast<int>(state->loop.first),
                         static_cast<int>(state->loop.end));
        else
            std::fprintf(stderr, "%s: loop off\n", program_name);
        return true;
    case SDLK_h: state->line_shown = !state->line_shown; return true;
    default: return true;
    }
    if (target < 0)
        return true;
    if (!jump_to(state, target))
        return false;
    // A scene loop follows the jump to the scene it lands in; a given part stays.
    if (state->looping && !part_given)
        state->loop = loop_part(state->last_position, options, false);
    return true;
}

bool take_events(MakerState* state, const DemoOptions& options, bool part_given)
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_QUIT)
            return false;
        if (event.type == SDL_KEYDOWN && !take_key(state, event.key.keysym.sym, options, part_given))
            return false;
    }
    return true;
}

void count_frame(MakerState* state, std::int64_t cost_us)
{
    const std::uint32_t now = SDL_GetTicks();
    ++state->window_frames;
    state->window_cost_us += cost_us;
    if (now - state->window_start_ms < 1000)
        return;
    state->fps =
        static_cast<std::int32_t>(std::int64_t{state->window_frames} * 1000 / (now - state->window_start_ms));
    state->cost_us = state->window_cost_us / state->window_frames;
    state->window_start_ms = now;
    state->window_frames = 0;
    state->window_cost_us = 0;
}

void show_frame(const MakerState& state)
{
    convert_frame_to_screen();
    char line[128];
    if (state.line_shown) {
        const std::int32_t position = state.last_position;
        int length = std::snprintf(line, sizeof line, "POS %04d SCENE %d %d FPS %lld.%02lld MS",
                                   static_cast<int>(position), static_cast<int>(scene_number(position)),
                                   static_cast<int>(state.fps), static_cast<long long>(state.cost_us / 1000),
                                   static_cast<long long>(state.cost_us % 1000 / 10));
        if (state.looping && length > 0 && length < static_cast<int>(sizeof line))
            length +=
                std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length), " LOOP %d-%d",
                              static_cast<int>(state.loop.first), static_cast<int>(state.loop.end));
        if (state.paused && length > 0 && length < static_cast<int>(sizeof line))
            std::snprintf(line + length, sizeof line - static_cast<std::size_t>(length), " PAUSED");
    }
    paint_border_line(screen, state.line_shown ? line : nullptr);
    SDL_Flip(screen);
}

// Data files that changed are loaded again and the music re-entered where it is.
bool reload_if_changed(MakerState* state)
{
    const std::uint32_t now = SDL_GetTicks();
    if (!reload_waiting(now))
        return true;
    if (!state->paused)
        music_pause();
    reload_changed_data(now);
    ExactPlace place;
    if (!catch_up_to(state->last_position, &place))
        return false;
    state->last_position = place.position;
    if (state->paused) {
        state->paused_demo_time = place.demo_time;
        demo_time = place.demo_time;
        // The picture shows the new data while the pause holds.
        draw_frame(place.position);
        quit_flag = 0;
    } else {
        start_output_at(place);
    }
    return true;
}

}   // namespace

std::int32_t scene_jump_target(std::int32_t position, int direction, std::int32_t end)
{
    const int index = scene_number(position < 0 ? 0 : position) - 1;
    const int wanted = index + direction;
    if (wanted >= scene_count)
        return -1;
    const std::int32_t target = scene_first(wanted < 0 ? 0 : wanted);
    return target < end ? target : -1;
}

std::int32_t order_jump_target(std::int32_t position, int direction, std::int32_t end)
{
    const std::int32_t order = (position < 0 ? 0 : position) / 100 + direction;
    const std::int32_t target = order < 0 ? 0 : order * 100;
    return target < end ? target : -1;
}

LoopPart loop_part(std::int32_t position, const DemoOptions& options, bool part_given)
{
    if (part_given)
        return {options.from < 0 ? 0 : options.from, options.to};
    const int index = scene_number(position < 0 ? 0 : position) - 1;
    const SceneSpan& span = scene_spans[index];
    const std::int32_t first = index == 0 ? 0 : span.first;
    const std::int32_t end = index == scene_count - 1 || span.end > options.to ? options.to : span.end;
    return {first, end};
}

void run_maker_loop(const DemoOptions& options)
{
    const bool part_given = options.from >= 0 || options.to != final_position;
    MakerState state{};
    state.last_position = heard_position();
    state.window_start_ms = SDL_GetTicks();
    std::uint32_t next_frame = SDL_GetTicks();
    start_data_watch();
    while (take_events(&state, options, part_given) && reload_if_changed(&state)) {
        if (state.paused) {
            show_frame(state);
            SDL_Delay(10);
            continue;
        }
        keep_sound_watched();
        const std::int32_t position = heard_position();
        if (state.looping && (position >= state.loop.end || position < state.loop.first)) {
            if (!jump_to(&state, state.loop.first))
                break;
            continue;
        }
        state.last_position = position;
        const auto started = std::chrono::steady_clock::now();
        // Unsigned subtraction: the tick counter may wrap, the difference does not.
        demo_time = static_cast<std::int32_t>(SDL_GetTicks() - timeline_start_ticks);
        draw_frame(position);
        const auto cost = std::chrono::steady_clock::now() - started;
        count_frame(&state, std::chrono::duration_cast<std::chrono::microseconds>(cost).count());
        show_frame(state);
        if (quit_flag)
            break;
        // A maker's machine also runs an editor and the data build.
        wait_for_next_frame(&next_frame);
    }
}
