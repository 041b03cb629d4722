#include "sound/wav_file.h"

#include <utility>

namespace {

void put_u32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void put_u16(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put_tag(std::uint8_t* at, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(tag[i]);
}

}   // namespace

bool write_wav_header(std::FILE* file, WavFormat format, std::uint32_t data_bytes)
{
    const std::uint32_t block = static_cast<std::uint32_t>(format.bits / 8);
    std::uint8_t header[44];
    put_tag(header, "RIFF");
    put_u32(header + 4, 36 + data_bytes);
    put_tag(header + 8, "WAVE");
    put_tag(header + 12, "fmt ");
    put_u32(header + 16, 16);
    put_u16(header + 20, 1);   // PCM
    put_u16(header + 22, 1);   // mono
    put_u32(header + 24, static_cast<std::uint32_t>(format.rate));
    put_u32(header + 28, static_cast<std::uint32_t>(format.rate) * block);
    put_u16(header + 32, block);
    put_u16(header + 34, static_cast<std::uint32_t>(format.bits));
    put_tag(header + 36, "data");
    put_u32(header + 40, data_bytes);
    return std::fwrite(header, 1, sizeof header, file) == sizeof header;
}

void to_wav_order(std::uint8_t* samples, std::int64_t count, WavFormat format)
{
    for (std::int64_t i = 0; format.bits == 16 && i < count; ++i)
        std::swap(samples[2 * i], samples[2 * i + 1]);
}

bool write_wav_samples(std::FILE* file, WavFormat format, std::uint8_t* samples, std::int64_t count)
{
    to_wav_order(samples, count, format);
    const auto bytes = static_cast<std::size_t>(count * (format.bits / 8));
    return std::fwrite(samples, 1, bytes, file) == bytes;
}

bool finish_wav(std::FILE* file, WavFormat format, std::uint32_t data_bytes)
{
    if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0)
        return false;
    return write_wav_header(file, format, data_bytes) && std::fflush(file) == 0;
}
