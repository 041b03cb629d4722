#include "song_flow.h"

#include <array>
#include <cstdint>

namespace compose {

namespace {

// Far more rows than any song can pass without repeating itself: 128 orders of 64
// rows, with a pattern loop of up to 15 repeats on each of the four channels.
constexpr std::int64_t longest_walk = 128ll * rows_per_pattern * 16 * channels;

}   // namespace

bool song_reaches_order(const Song& song, int order)
{
    const int length = static_cast<int>(song.orders.size());
    if (length == 0)
        return false;
    int position = 0;
    int row = 0;
    int break_row = 0;
    std::array<int, channels> loop_row{};
    std::array<int, channels> loop_count{};
    for (std::int64_t step = 0; step < longest_walk; ++step) {
        if (position >= order)
            return true;
        // A jump whose row a pattern loop took back leaves the position off the table;
        // the player goes on at the restart position there.
        if (position < 0 || position >= length)
            position = song.restart;
        const Pattern& pattern =
            song.patterns[static_cast<std::size_t>(song.orders[static_cast<std::size_t>(position)])];
        // The row's effects in channel order, as the player does them on its first tick.
        int next = row;
        for (int c = 0; c < channels; ++c) {
            const Cell& cell = pattern.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)];
            const int p = cell.parameter;
            if (cell.command == 0xB) {
                position = p - 1;
                next = 63;
            } else if (cell.command == 0xD) {
                break_row = (p >> 4) * 10 + (p & 15);
                next = 63;
            } else if (cell.command == 0xE && (p >> 4) == 6) {
                if ((p & 15) == 0) {
                    loop_row[c] = next;
                } else if (loop_count[c] == 0) {
                    loop_count[c] = p & 15;
                    next = loop_row[c] - 1;
                } else if (--loop_count[c] > 0) {
                    next = loop_row[c] - 1;
                }
            }
        }
        row = next + 1;
        if (row > 63) {
            ++position;
            row = break_row;
            break_row = 0;
            if (position < 0 || position >= length)
                position = song.restart;
        }
    }
    return false;
}

}   // namespace compose
