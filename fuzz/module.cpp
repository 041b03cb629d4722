// A module as read from disk: loaded, then played for a few thousand ticks with
// output mixed in between, at either output format.
#include "sound/music_stream.h"
#include "sound/sound.h"

#include <cstring>
#include <memory>

namespace {

constexpr int ticks_played = 3000;
constexpr int ticks_between_mixes = 150;
constexpr int mixed_bytes = 1024;

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The last byte picks the output format; the rest is the module file. The copy is
    // exactly as long as the file, so any read past its end is caught.
    const std::int32_t mode = (data[size - 1] & 1) ? 1 : 2;
    const std::size_t module_size = size - 1;
    std::unique_ptr<std::uint8_t[]> module(new std::uint8_t[module_size + 1]);
    std::memcpy(module.get(), data, module_size);

    MusicStream stream;
    if (start_music_stream(&stream, mode, module.get(), module_size))
        return 0;
    std::uint8_t mixed[mixed_bytes];
    for (int tick = 0; tick < ticks_played; ++tick) {
        if (tick % ticks_between_mixes == 0)
            next_music_buffer(&stream, mixed, mixed_bytes / stream.bytes_per_sample);
        pt_tick();
        (void)music_position();
    }
    return 0;
}
