// The conversion at the heart of the presentation: 320x200 colour indexes into 400
// screen rows of 640 32-bit pixels, every index a 2x2 block whose lower line is dimmed.
// Several kernels do the same work with different instructions; start-up picks the
// fastest one the processor runs, and every one gives the same pixels as the plain loop.
#pragma once

#include <cstddef>
#include <cstdint>

// One colour index as the conversion writes it: its screen pixel twice for the upper
// line, its dimmed pixel twice for the lower line, in one 16-byte load.
struct alignas(16) PixelQuad {
    std::uint32_t bright[2];
    std::uint32_t dim[2];
};

// The lower line of every block shows each colour channel at four fifths.
inline constexpr std::uint8_t dimmed_level(std::uint8_t level)
{
    return static_cast<std::uint8_t>(level * 4 / 5);
}

// source: 64,000 indexes, row by row. first_row: the screen's pixel byte where the
// upper line of source row 0 starts; pitch: bytes from one screen row to the next.
using ConvertFrame = void (*)(const std::uint8_t* source, std::uint8_t* first_row, std::size_t pitch,
                              const PixelQuad* quads);

struct PresentKernel {
    const char* name;
    ConvertFrame convert;
    bool (*runs_here)();   // whether this processor has the instructions it needs
};

// Every kernel this build holds, the portable plain loop first.
extern const PresentKernel present_kernels[];
extern const int present_kernel_count;

// The last kernel of the list that runs here: the list goes from slowest to fastest.
const PresentKernel& fastest_present_kernel();
