#include "sound/music_render.h"

#include "sound/player.h"
#include "sound/wav_file.h"

#include <algorithm>
#include <cerrno>

namespace {

// A song that neither reaches its order limit nor wraps (a speed of 0 holds it for
// ever) is cut off after an hour of audio.
constexpr std::int64_t time_cap_seconds = 3600;
// WAV sizes are 32-bit.
constexpr std::int64_t largest_data_bytes = 0xFFFFFFFFll - 36;

// Whether the song has reached the order limit, or gone back to an earlier order
// position (past its end to the restart position, or by a jump backwards).
bool song_ended(const RenderRequest& request, std::int32_t earlier_position, std::int32_t restarts,
                RenderEnd* end)
{
    const std::int32_t position = music_place().order;
    if (position >= request.order_limit) {
        *end = RenderEnd::order_reached;
        return true;
    }
    if (song.restarts != restarts || position < earlier_position) {
        *end = RenderEnd::song_wrapped;
        return true;
    }
    return false;
}

bool failed(RenderResult* result, RenderFailure failure)
{
    if (result) {
        result->failure = failure;
        result->error_number = errno;
    }
    return false;
}

}   // namespace

bool render_music(std::uint8_t* buffer, std::size_t size, std::FILE* out, const RenderRequest& request,
                  RenderResult* result)
{
    MusicStream stream;
    if (const char* refusal = start_music_stream(&stream, request.mode, buffer, size)) {
        if (result)
            result->refusal = refusal;
        return failed(result, RenderFailure::module_refused);
    }
    const WavFormat format{stream.rate, stream.bytes_per_sample * 8};
    const std::int64_t cap = std::min<std::int64_t>(
        request.sample_limit >= 0 ? request.sample_limit : time_cap_seconds * format.rate,
        largest_data_bytes / stream.bytes_per_sample);
    if (!write_wav_header(out, format, 0))
        return failed(result, RenderFailure::cannot_write);

    std::uint8_t samples[device_buffer_samples * 2];
    RenderResult done;
    done.end = request.sample_limit >= 0 ? RenderEnd::sample_limit : RenderEnd::time_cap;
    std::int32_t earlier_position = music_place().order;
    const std::int32_t restarts = song.restarts;
    std::int64_t next_report = 0;
    while (done.samples < cap) {
        next_music_buffer(&stream, samples, device_buffer_samples);
        const std::int64_t count = std::min<std::int64_t>(device_buffer_samples, cap - done.samples);
        if (!write_wav_samples(out, format, samples, count))
            return failed(result, RenderFailure::cannot_write);
        done.samples += count;
        if (request.progress && done.samples >= next_report) {
            request.progress(done.samples, format.rate, music_place(), false);
            next_report += 10ll * format.rate;
        }
        if (request.sample_limit < 0 && song_ended(request, earlier_position, restarts, &done.end))
            break;
        earlier_position = music_place().order;
    }
    if (request.progress)
        request.progress(done.samples, format.rate, music_place(), true);
    if (!finish_wav(out, format, static_cast<std::uint32_t>(done.samples * stream.bytes_per_sample)))
        return failed(result, RenderFailure::cannot_finish);
    if (result)
        *result = done;
    return true;
}
