#include "offline_music.h"

#include <cstdio>
#include <cstdlib>

bool start_offline_music(MusicStream* stream, const char* module_file)
{
    // Like the demo's: kept for the whole run, since the player rewrites its patterns
    // in place and the voices play straight from its sample data.
    auto* module = static_cast<std::uint8_t*>(std::malloc(module_buffer_bytes));
    if (!module) {
        std::fprintf(stderr, "tinkettles-capture: out of memory for the module\n");
        return false;
    }
    const ModuleRead read = read_module_file(module_file, module);
    if (read.status == ModuleReadStatus::cannot_open) {
        char reason[module_message_capacity];
        describe_module_read(read, module_file, reason, sizeof reason);
        std::fprintf(stderr, "tinkettles-capture: %s\n", reason);
        return false;
    }
    if (const char* refusal = start_music_stream(stream, 2, module, read.size)) {
        std::fprintf(stderr, "tinkettles-capture: %s: %s\n", module_file, refusal);
        return false;
    }
    return true;
}

bool buffer_begins_by(std::int64_t buffer, std::int64_t frame, std::int32_t fps)
{
    // buffer * 2048 / 44100 s <= frame / fps s, kept in whole numbers.
    return buffer * capture_buffer_samples * fps <= frame * capture_audio_rate;
}

std::int64_t samples_for_frames(std::int64_t frames, std::int32_t fps)
{
    return frames * capture_audio_rate / fps;
}
