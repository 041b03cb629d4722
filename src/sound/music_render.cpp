#include "sound/music_render.h"

#include "sound/devices.h"
#include "sound/mixer.h"
#include "sound/player.h"
#include "sound/sound.h"
#include "sound/wav_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

// A song that neither reaches its order limit nor wraps (a speed of 0 holds it for
// ever) is cut off after an hour of audio.
constexpr std::int64_t time_cap_seconds = 3600;
// WAV sizes are 32-bit.
constexpr std::int64_t largest_data_bytes = 0xFFFFFFFFll - 36;

// The callback writes 16-bit samples big-endian; WAV wants them little-endian.
void swap_bytes(std::uint8_t* bytes, std::int64_t count)
{
    for (std::int64_t i = 0; i + 1 < count; i += 2)
        std::swap(bytes[i], bytes[i + 1]);
}

// On a terminal the progress line rewrites itself; elsewhere each report is a line.
void show_progress(std::int64_t samples, std::int32_t rate, bool final)
{
    const bool terminal = isatty(fileno(stderr)) != 0;
    std::fprintf(stderr, "%stinkettles-music: %7.1f s rendered, order %3d row %2d%s",
                 terminal ? "\r" : "", static_cast<double>(samples) / rate,
                 song.position.load(std::memory_order_relaxed),
                 song.row.load(std::memory_order_relaxed), terminal && !final ? "" : "\n");
}

// Whether the song has reached the order limit, or gone back to an earlier order
// position (past its end to the restart position, or by a jump backwards).
bool song_ended(const RenderRequest& request, std::int32_t earlier_position, std::int32_t restarts,
                RenderEnd* end)
{
    const std::int32_t position = song.position.load(std::memory_order_relaxed);
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

}  // namespace

bool read_module_file(const char* program, const char* path, std::uint8_t* buffer,
                      std::size_t* size)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        std::fprintf(stderr, "%s: cannot open %s: %s\n", program, path, std::strerror(errno));
        return false;
    }
    *size = std::fread(buffer, 1, module_buffer_bytes, file);
    const bool failed = std::ferror(file) != 0;
    const bool longer = !failed && std::fgetc(file) != EOF;
    std::fclose(file);
    if (failed) {
        std::fprintf(stderr, "%s: cannot read %s\n", program, path);
        return false;
    }
    if (longer)
        std::fprintf(stderr, "%s: %s is longer than %zu bytes; only those are used\n",
                     program, path, module_buffer_bytes);
    return true;
}

bool render_music(std::uint8_t* buffer, std::size_t size, std::FILE* out,
                  const RenderRequest& request, RenderResult* result)
{
    install_sdl_device(request.mode);
    if (!music_load(buffer, size)) {
        std::fprintf(stderr, "tinkettles-music: %s\n", last_error);
        return false;
    }
    set_tick_rate(demo_ticks_per_second);
    const WavFormat format{request.mode == 1 ? 22050 : 44100, request.mode == 1 ? 8 : 16};
    const std::int32_t bytes_per_sample = format.bits / 8;
    const std::int64_t cap = std::min<std::int64_t>(
        request.sample_limit >= 0 ? request.sample_limit : time_cap_seconds * format.rate,
        largest_data_bytes / bytes_per_sample);
    if (!write_wav_header(out, format, 0)) {
        std::fprintf(stderr, "tinkettles-music: cannot write the WAV file: %s\n", std::strerror(errno));
        return false;
    }

    std::uint8_t stream[mix_buffer_samples * 2];
    RenderResult done;
    done.end = request.sample_limit >= 0 ? RenderEnd::sample_limit : RenderEnd::time_cap;
    std::int32_t earlier_position = song.position.load(std::memory_order_relaxed);
    const std::int32_t restarts = song.restarts;
    std::int64_t next_report = 0;
    while (done.samples < cap) {
        audio_fill(nullptr, stream, mix_buffer_samples * bytes_per_sample);
        const std::int64_t count = std::min<std::int64_t>(mix_buffer_samples, cap - done.samples);
        if (format.bits == 16)
            swap_bytes(stream, count * 2);
        if (std::fwrite(stream, static_cast<std::size_t>(bytes_per_sample), static_cast<std::size_t>(count), out) !=
            static_cast<std::size_t>(count)) {
            std::fprintf(stderr, "tinkettles-music: cannot write the WAV file: %s\n", std::strerror(errno));
            return false;
        }
        done.samples += count;
        if (request.show_progress && done.samples >= next_report) {
            show_progress(done.samples, format.rate, false);
            next_report += 10ll * format.rate;
        }
        if (request.sample_limit < 0 && song_ended(request, earlier_position, restarts, &done.end))
            break;
        earlier_position = song.position.load(std::memory_order_relaxed);
    }
    if (request.show_progress)
        show_progress(done.samples, format.rate, true);
    if (!finish_wav(out, format, static_cast<std::uint32_t>(done.samples * bytes_per_sample))) {
        std::fprintf(stderr, "tinkettles-music: cannot finish the WAV file (is it seekable?): %s\n",
                     std::strerror(errno));
        return false;
    }
    if (result)
        *result = done;
    return true;
}
