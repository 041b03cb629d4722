// Every conversion kernel that this processor runs against the presentation written out
// pixel by pixel: random frames, random tables (the two pixels of a line may even
// differ, so that a swapped half shows), packed and padded screen rows, and no byte
// written outside the 400 rows of 640 pixels.
#include "frame/present_kernels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t rows = 400;
constexpr std::size_t row_bytes = 640 * 4;
constexpr std::uint8_t untouched = 0xA5;

struct Scene {
    std::vector<std::uint8_t> frame;
    std::vector<PixelQuad> quads;
};

Scene random_scene(std::uint32_t seed)
{
    std::mt19937 random(seed);
    Scene scene{std::vector<std::uint8_t>(320 * 200), std::vector<PixelQuad>(256)};
    for (auto& index : scene.frame)
        index = static_cast<std::uint8_t>(random());
    for (auto& quad : scene.quads)
        quad = {{static_cast<std::uint32_t>(random()), static_cast<std::uint32_t>(random())},
                {static_cast<std::uint32_t>(random()), static_cast<std::uint32_t>(random())}};
    return scene;
}

std::uint32_t pixel(const std::vector<std::uint8_t>& screen, std::size_t pitch, std::size_t x, std::size_t y)
{
    std::uint32_t value;
    std::memcpy(&value, screen.data() + y * pitch + 4 * x, 4);
    return value;
}

void expect_kernel_matches(const PresentKernel& kernel, const Scene& scene, std::size_t pitch)
{
    std::vector<std::uint8_t> screen(rows * pitch, untouched);
    kernel.convert(scene.frame.data(), screen.data(), pitch, scene.quads.data());
    for (std::size_t y = 0; y < rows; ++y) {
        for (std::size_t x = 0; x < 640; ++x) {
            const PixelQuad& quad = scene.quads[scene.frame[(y / 2) * 320 + x / 2]];
            const std::uint32_t expected = y % 2 == 0 ? quad.bright[x % 2] : quad.dim[x % 2];
            ASSERT_EQ(pixel(screen, pitch, x, y), expected)
                << kernel.name << " pixel " << x << "," << y << " pitch " << pitch;
        }
        for (std::size_t b = row_bytes; b < pitch; ++b)
            ASSERT_EQ(screen[y * pitch + b], untouched)
                << kernel.name << " wrote past row " << y << " at byte " << b;
    }
}

TEST(PresentKernels, EveryKernelHereGivesThePlainPixels)
{
    ASSERT_GE(present_kernel_count, 1);
    EXPECT_EQ(std::string(present_kernels[0].name), "plain");
    for (int k = 0; k < present_kernel_count; ++k) {
        const PresentKernel& kernel = present_kernels[k];
        if (!kernel.runs_here()) {
            std::printf("kernel %s: not on this processor\n", kernel.name);
            continue;
        }
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            const Scene scene = random_scene(seed * 7919 + static_cast<std::uint32_t>(k));
            expect_kernel_matches(kernel, scene, row_bytes);
            expect_kernel_matches(kernel, scene, row_bytes + 36);   // padded, not 16-aligned
        }
    }
}

TEST(PresentKernels, TheChosenKernelRunsHereAndIsTheLastThatDoes)
{
    const PresentKernel& chosen = fastest_present_kernel();
    EXPECT_TRUE(chosen.runs_here());
    bool after = false;
    for (int k = 0; k < present_kernel_count; ++k) {
        if (after) {
            EXPECT_FALSE(present_kernels[k].runs_here()) << present_kernels[k].name;
        }
        after = after || &present_kernels[k] == &chosen;
    }
    EXPECT_TRUE(after);
}

}   // namespace
