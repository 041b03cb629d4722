#include "offline_music.h"

bool buffer_begins_by(std::int64_t buffer, std::int64_t frame, std::int32_t fps)
{
    // buffer * 2048 / 44100 s <= frame / fps s, kept in whole numbers.
    return buffer * capture_buffer_samples * fps <= frame * capture_audio_rate;
}

std::int64_t samples_for_frames(std::int64_t frames, std::int32_t fps)
{
    return frames * capture_audio_rate / fps;
}
