// The demo's music stream with the position heard at each of its samples: writes the
// stream's first SAMPLES samples to OUT as signed 16-bit little-endian mono (as a
// recording of the sound server gives them) and prints "<sample> <position>" for every
// sample where the position heard changes, from the heard clock the callback feeds.
#include "sound/heard_clock.h"
#include "sound/music_stream.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: stream_positions MODULE SAMPLES OUT.raw\n");
        return 2;
    }
    std::vector<std::uint8_t> module(module_buffer_bytes);
    const ModuleRead read = read_module_file(argv[1], module.data());
    MusicStream stream;
    if (module_read_failed(read) || start_music_stream(&stream, 2, module.data(), read.size)) {
        std::fprintf(stderr, "stream_positions: cannot play %s\n", argv[1]);
        return 1;
    }
    const long long wanted = std::atoll(argv[2]);
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out)
        return 1;
    std::uint8_t buffer[2 * device_buffer_samples];
    std::int32_t last = -1000000;
    while (stream.samples < wanted) {
        const std::int64_t first = stream.samples;
        next_music_buffer(&stream, buffer, device_buffer_samples);
        for (std::int32_t i = 0; i < device_buffer_samples; ++i) {
            const std::uint8_t little[2] = {buffer[2 * i + 1], buffer[2 * i]};
            std::fwrite(little, 1, 2, out);
            const std::int32_t heard = heard_position_at(first + i);
            if (heard != last)
                std::printf("%lld %d\n", static_cast<long long>(first + i), static_cast<int>(heard));
            last = heard;
        }
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
