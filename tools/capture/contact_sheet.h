// The contact sheet: one half-size thumbnail from the middle of each of the ten
// scenes, five to a row, each labelled with its scene number in the demo's own font.
#pragma once

#include "frame/scene_facts.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>

constexpr int thumbnail_width = 320;
constexpr int thumbnail_height = 240;

struct ContactSheet {
    std::int32_t middle_position[scene_count];   // where each scene's thumbnail is taken
    bool settled[scene_count];                   // taken at or after the middle
    bool seen[scene_count];
    std::uint8_t thumbnails[scene_count][thumbnail_width * thumbnail_height * 3];
};

// The music position halfway through a scene's rows, counting every row of order
// positions 0 to 24 that the scene holds.
std::int32_t scene_middle_position(std::int32_t scene);

void start_contact_sheet(ContactSheet* sheet);

// Keeps this screen as its scene's thumbnail until one at or past the scene's middle
// has been kept, so that a scene the capture leaves early still has its last frame.
void offer_contact_frame(ContactSheet* sheet, std::int32_t position, const SDL_Surface* surface);

// Into an open file, named `path` in messages. Needs the demo's font loaded, for
// the labels.
bool write_contact_sheet(const ContactSheet* sheet, std::FILE* file, const char* path);
