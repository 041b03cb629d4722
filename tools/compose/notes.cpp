#include "notes.h"

namespace compose {

namespace {

// Periods at finetune 0, lowest note first: two octaves below the classic
// range (four and two times its values), the range itself (856..113), and two
// octaves above (halved from twelve places lower, rounded down).
constexpr std::uint16_t periods[note_count] = {
    3424, 3232, 3048, 2880, 2712, 2560, 2416, 2280, 2152, 2032, 1920, 1812,
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960, 906,
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
    428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
    214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113,
    107, 101, 95, 90, 85, 80, 75, 71, 67, 63, 60, 56,
    53, 50, 47, 45, 42, 40, 37, 35, 33, 31, 30, 28,
};

constexpr const char* letters = "CCDDEFFGGAAB";
constexpr const char* accidentals = "-#-#--#-#-#-";

} // namespace

int note_index(std::string_view name)
{
    if (name.size() != 3 || name[2] < '0' || name[2] > '5')
        return -1;
    for (int semitone = 0; semitone < 12; ++semitone) {
        if (name[0] == letters[semitone] && name[1] == accidentals[semitone])
            return (name[2] - '0' + 1) * 12 + semitone;
    }
    return -1;
}

std::uint16_t note_period(int index)
{
    return periods[index];
}

double note_rate(int index)
{
    return period_clock / periods[index];
}

void note_name(int index, char out[4])
{
    int semitone = index % 12;
    out[0] = letters[semitone];
    out[1] = accidentals[semitone];
    out[2] = static_cast<char>('0' + index / 12 - 1);
    out[3] = '\0';
}

} // namespace compose
