// The frame conversion kernels: a portable loop, and on x86 an SSE2 and an AVX2 one.
// All read a colour index's two screen lines from one 16-byte PixelQuad, so the tables
// cost the same whichever kernel runs.
#include "frame/present_kernels.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TK_X86_KERNELS 1
#endif

namespace {

constexpr int source_width = 320;
constexpr int source_height = 200;

// Two source pixels a step, each line one 16-byte store gathered from two 8-byte
// halves: what any compiler turns into plain word or vector moves.
void convert_plain(const std::uint8_t* source, std::uint8_t* first_row, std::size_t pitch,
                   const PixelQuad* quads)
{
    for (int y = 0; y < source_height; ++y) {
        std::uint8_t* bright = first_row + static_cast<std::size_t>(2 * y) * pitch;
        std::uint8_t* dim = bright + pitch;
        for (int x = 0; x < source_width; x += 2) {
            std::uint64_t upper[2];
            std::uint64_t lower[2];
            std::memcpy(&upper[0], quads[source[x]].bright, 8);
            std::memcpy(&upper[1], quads[source[x + 1]].bright, 8);
            std::memcpy(&lower[0], quads[source[x]].dim, 8);
            std::memcpy(&lower[1], quads[source[x + 1]].dim, 8);
            std::memcpy(bright + 8 * x, upper, sizeof upper);
            std::memcpy(dim + 8 * x, lower, sizeof lower);
        }
        source += source_width;
    }
}

bool always()
{
    return true;
}

#if TK_X86_KERNELS

// Two source pixels a step: their quads, interleaved by 64-bit halves, are the 16
// bytes of the upper line and the 16 bytes of the lower one.
[[gnu::target("sse2")]] void convert_sse2(const std::uint8_t* source, std::uint8_t* first_row,
                                          std::size_t pitch, const PixelQuad* quads)
{
    for (int y = 0; y < source_height; ++y) {
        std::uint8_t* bright = first_row + static_cast<std::size_t>(2 * y) * pitch;
        std::uint8_t* dim = bright + pitch;
        for (int x = 0; x < source_width; x += 2) {
            const __m128i left = _mm_load_si128(reinterpret_cast<const __m128i*>(&quads[source[x]]));
            const __m128i right = _mm_load_si128(reinterpret_cast<const __m128i*>(&quads[source[x + 1]]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(bright + 8 * x), _mm_unpacklo_epi64(left, right));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dim + 8 * x), _mm_unpackhi_epi64(left, right));
        }
        source += source_width;
    }
}

bool has_sse2()
{
    return __builtin_cpu_supports("sse2");
}

// Four source pixels: 0 and 2 share one 256-bit register, 1 and 3 the other;
// interleaving their 64-bit halves within each 128-bit lane lines up the four
// upper-line pairs in one register and the four lower-line pairs in the other.
[[gnu::target("avx2")]] inline __m256i quad_pair(const PixelQuad* quads, std::uint8_t low, std::uint8_t high)
{
    const __m128i first = _mm_load_si128(reinterpret_cast<const __m128i*>(&quads[low]));
    const __m128i second = _mm_load_si128(reinterpret_cast<const __m128i*>(&quads[high]));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(first), second, 1);
}

// The byte at `shift` of a word of eight source pixels.
inline std::uint8_t pixel_at(std::uint64_t pixels, int shift)
{
    return static_cast<std::uint8_t>(pixels >> shift);
}

// Eight source pixels a step, read as one word: one load instead of eight leaves the
// load ports to the quads.
[[gnu::target("avx2")]] void convert_avx2(const std::uint8_t* source, std::uint8_t* first_row,
                                          std::size_t pitch, const PixelQuad* quads)
{
    for (int y = 0; y < source_height; ++y) {
        std::uint8_t* bright = first_row + static_cast<std::size_t>(2 * y) * pitch;
        std::uint8_t* dim = bright + pitch;
        for (int x = 0; x < source_width; x += 8) {
            std::uint64_t pixels;
            std::memcpy(&pixels, source + x, 8);
            for (int half = 0; half < 2; ++half) {
                const int shift = 32 * half;
                const __m256i even = quad_pair(quads, pixel_at(pixels, shift), pixel_at(pixels, shift + 16));
                const __m256i odd =
                    quad_pair(quads, pixel_at(pixels, shift + 8), pixel_at(pixels, shift + 24));
                const std::size_t at = 8 * static_cast<std::size_t>(x) + 32 * static_cast<std::size_t>(half);
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(bright + at),
                                    _mm256_unpacklo_epi64(even, odd));
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(dim + at), _mm256_unpackhi_epi64(even, odd));
            }
        }
        source += source_width;
    }
}

bool has_avx2()
{
    return __builtin_cpu_supports("avx2");
}

#endif

}   // namespace

const PresentKernel present_kernels[] = {
    {"plain", convert_plain, always},
#if TK_X86_KERNELS
    {"sse2", convert_sse2, has_sse2},
    {"avx2", convert_avx2, has_avx2},
#endif
};
const int present_kernel_count = sizeof present_kernels / sizeof present_kernels[0];

const PresentKernel& fastest_present_kernel()
{
    // Asked once: the processor does not change while the demo runs.
    static const PresentKernel& chosen = []() -> const PresentKernel& {
#if TK_X86_KERNELS
        __builtin_cpu_init();
#endif
        for (int k = present_kernel_count - 1; k > 0; --k)
            if (present_kernels[k].runs_here())
                return present_kernels[k];
        return present_kernels[0];
    }();
    return chosen;
}
