// A mono PCM WAV file written as a stream: header first, sizes filled in at the end.
#pragma once

#include <cstdint>
#include <cstdio>

struct WavFormat {
    std::int32_t rate;
    std::int32_t bits;   // 8 (unsigned) or 16 (signed, little-endian)
};

// Writes the 44-byte header for data_bytes bytes of samples.
bool write_wav_header(std::FILE* file, WavFormat format, std::uint32_t data_bytes);

// Goes back to the start and writes the header again with the final size.
bool finish_wav(std::FILE* file, WavFormat format, std::uint32_t data_bytes);
