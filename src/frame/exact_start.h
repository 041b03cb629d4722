// Starting the demo anywhere exactly: the player, the mixer and the timeline run from
// the very start, quickly and without output, to the place asked for, and the real-time
// output begins there. What follows is then what a whole run plays and shows there.
#pragma once

#include <cstddef>
#include <cstdint>

struct ModuleFile;

// The frame rate of the catch-up's frames: the capture's default, so that the frames
// drawn on the way are the whole capture's frames at the same music times.
inline constexpr std::int32_t catch_up_fps = 60;

// Copies the module's bytes as read, before the player rewrites them in place; every
// restart of the song starts from this copy. Call once the file is read and before
// load_music. `bytes` must be the buffer the player plays from (module_buffer_bytes).
void keep_original_module(const ModuleFile& module);

// Makes `bytes` (size bytes, a whole module file) the original from now on: the next
// restart plays it. The caller has checked that the player takes it.
void replace_original_module(const std::uint8_t* bytes, std::size_t size);

// Offers the player a new module file (size bytes): when it takes it, the file becomes
// the original that the next restart plays; when it refuses, the old original stays
// and false is returned with the reason in last_error. Either way the player must be
// restarted (catch_up_to) before it plays again. Call with the output paused.
bool try_new_module(const std::uint8_t* bytes, std::size_t size);

// Where a catch-up stopped.
struct ExactPlace {
    std::int32_t position;       // music position after the held tick
    std::int64_t tick;           // the held tick, counted from the song's first (0)
    std::int32_t demo_time;      // ms from the song's first sample to the held tick's
    std::int64_t frames_drawn;   // frames drawn on the way, at catch_up_fps
};

// With the output paused (or not yet started): the song and the timeline restarted
// from their beginning (colours, buffers, scene starts), then played without output
// until the first tick whose music position is `target` or more. That tick has run and
// its segment waits to be mixed first (music_hold_at_tick_start); the frames whose
// moments lie before its first sample have been drawn at catch_up_fps, the last of them
// left in display_buffer. Shows a progress line on standard error when it takes longer
// than a second. False, with one line, when the player refuses the module or the song
// does not reach `target` within twenty minutes.
bool catch_up_to(std::int32_t target, ExactPlace* place);

// After catch_up_to (and the frame it left shown) with the output stopped by
// music_pause: the output resumed from the held tick and timeline_start_ticks set so
// that demo_time goes on from the held tick's moment.
void start_output_at(const ExactPlace& place);

// catch_up_to and the output's first start from the held tick (music_play_from_hold),
// for --from: false when the catch-up fails. When
// TINKETTLES_START_FRAME names a file, the first frame shown is also written there as a
// binary PPM with a comment line "# frame F position P tick T".
bool start_exactly_at(std::int32_t target);

// The start of playback after load_music: with `exact`, start_exactly_at `from` (0 when
// it is -1); otherwise start_music_from_top with the timeline starting now, the start
// the demo has always had. False when the start fails (the reason printed).
bool start_playing_from(std::int32_t from, bool exact);
