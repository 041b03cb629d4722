#include "sound/module_writer.h"

namespace {

constexpr std::int32_t finetune0_row[85] = {
    3424, 3232, 3048, 2880, 2712, 2560, 2416, 2280, 2152, 2032, 1920, 1812, 1712, 1616, 1524, 1440, 1356,
    1280, 1208, 1140, 1076, 1016, 960,  906,  856,  808,  762,  720,  678,  640,  604,  570,  538,  508,
    480,  453,  428,  404,  381,  360,  339,  320,  302,  285,  269,  254,  240,  226,  214,  202,  190,
    180,  170,  160,  151,  143,  135,  127,  120,  113,  107,  101,  95,   90,   85,   80,   75,   71,
    67,   63,   60,   56,   53,   50,   47,   45,   42,   40,   37,   35,   33,   31,   30,   28,   28};

void put_word(std::vector<std::uint8_t>& out, std::int32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

}   // namespace

std::int32_t period_of_note(std::int32_t note)
{
    return finetune0_row[note];
}

TestCell& TestModule::cell(std::int32_t pattern, std::int32_t row, std::int32_t channel)
{
    if (pattern >= pattern_count)
        pattern_count = pattern + 1;
    const std::size_t needed = static_cast<std::size_t>(pattern_count) * 64 * channels;
    if (cells.size() < needed)
        cells.resize(needed);
    return cells[(static_cast<std::size_t>(pattern) * 64 + row) * channels + channel];
}

std::vector<std::uint8_t> TestModule::bytes() const
{
    std::vector<std::uint8_t> out(20, 'T');
    for (const TestSample& s : samples) {
        out.insert(out.end(), 22, 0);
        put_word(out, static_cast<std::int32_t>(s.data.size() / 2));
        out.push_back(static_cast<std::uint8_t>(s.finetune));
        out.push_back(static_cast<std::uint8_t>(s.volume));
        put_word(out, s.loop_start / 2);
        put_word(out, s.loop_length / 2);
    }
    out.push_back(static_cast<std::uint8_t>(song_length));
    out.push_back(static_cast<std::uint8_t>(restart));
    out.insert(out.end(), orders.begin(), orders.end());
    out.insert(out.end(), signature.begin(), signature.begin() + 4);
    const std::size_t cell_count = static_cast<std::size_t>(pattern_count) * 64 * channels;
    for (std::size_t i = 0; i < cell_count; ++i) {
        const TestCell c = i < cells.size() ? cells[i] : TestCell{};
        out.push_back(static_cast<std::uint8_t>((c.sample & 0xF0) | ((c.period >> 8) & 0x0F)));
        out.push_back(static_cast<std::uint8_t>(c.period));
        out.push_back(static_cast<std::uint8_t>(((c.sample & 0x0F) << 4) | (c.command & 0x0F)));
        out.push_back(static_cast<std::uint8_t>(c.parameter));
    }
    for (const TestSample& s : samples)
        for (std::int8_t b : s.data)
            out.push_back(static_cast<std::uint8_t>(b));
    return out;
}
