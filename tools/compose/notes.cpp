#include "notes.h"

namespace compose {

namespace {

constexpr const char* letters = "CCDDEFFGGAAB";
constexpr const char* accidentals = "-#-#--#-#-#-";

}   // namespace

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
    return period_table[0][static_cast<std::size_t>(index)];
}

double note_rate(int index)
{
    return period_clock / note_period(index);
}

}   // namespace compose
