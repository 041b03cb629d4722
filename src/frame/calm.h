// The calm presentation: the same enlargement of the frame as present_frame's, except
// that no screen pixel may make more than six transitions of light and dark (or of
// saturated red) within any 1000 ms, the most that stays under the flash limits of
// frame/flash_rules.h. A pixel whose next colour would make a seventh keeps the colour
// it shows until the change is allowed again; every other pixel shows its frame's
// colour, so a picture that does not flash is shown exactly as without it.
//
// Off unless enable_calm_presentation was called; the plain presentation then never
// reaches this file.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

// Turns the calm presentation on, every pixel starting afresh from the next frame; the
// state (about 6 MB) is allocated on the first call. False, with nothing changed, when
// that memory is not there.
bool enable_calm_presentation();
// Back to the plain presentation; the state is freed.
void disable_calm_presentation();
bool calm_presentation_on();

// The calm conversion of 320x200 indexes onto 400 screen rows, as ConvertFrame does;
// `bright` and `dim` are the two colour tables in `format`, `time_ms` the frame's
// moment (never decreasing).
void present_calmly(const std::uint8_t* source, std::uint8_t* first_row, std::size_t pitch,
                    const std::uint32_t* bright, const std::uint32_t* dim, const SDL_PixelFormat* format,
                    std::int32_t time_ms);
