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

// Puts samples as the audio callback writes them (16-bit big-endian, or 8-bit unsigned)
// in the order a WAV file keeps them, in place: the 16-bit ones become little-endian.
void to_wav_order(std::uint8_t* samples, std::int64_t count, WavFormat format);

// Appends `count` samples of the callback's stream to the file, reordering them in place.
bool write_wav_samples(std::FILE* file, WavFormat format, std::uint8_t* samples, std::int64_t count);

// Goes back to the start and writes the header again with the final size.
bool finish_wav(std::FILE* file, WavFormat format, std::uint32_t data_bytes);
