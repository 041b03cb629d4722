#include "module_writer.h"

#include "notes.h"

namespace compose {

namespace {

void put_text(std::vector<std::uint8_t>& out, const std::string& text, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

void put_word(std::vector<std::uint8_t>& out, int bytes)
{
    int words = bytes / 2;
    out.push_back(static_cast<std::uint8_t>(words >> 8));
    out.push_back(static_cast<std::uint8_t>(words & 0xFF));
}

void put_sample_header(std::vector<std::uint8_t>& out, const SampleSpec& spec, const SampleData& data)
{
    put_text(out, spec.name, 22);
    put_word(out, static_cast<int>(data.bytes.size()));
    out.push_back(0);   // finetune: the synthesiser tunes every sample itself
    out.push_back(static_cast<std::uint8_t>(data.bytes.empty() ? 0 : spec.volume));
    if (data.loop_length > 0) {
        put_word(out, data.loop_start);
        put_word(out, data.loop_length);
    } else {
        // A one-word loop is the format's way of saying "no loop".
        put_word(out, 0);
        put_word(out, 2);
    }
}

void put_cell(std::vector<std::uint8_t>& out, const Cell& cell)
{
    int period = cell.note < 0 ? 0 : note_period(cell.note);
    out.push_back(static_cast<std::uint8_t>((cell.sample & 0xF0) | (period >> 8)));
    out.push_back(static_cast<std::uint8_t>(period & 0xFF));
    out.push_back(static_cast<std::uint8_t>(((cell.sample & 0x0F) << 4) | cell.command));
    out.push_back(static_cast<std::uint8_t>(cell.parameter));
}

}   // namespace

std::vector<std::uint8_t> write_module(const Song& song, const SampleSet& specs, const SampleBank& bank)
{
    std::vector<std::uint8_t> out;
    put_text(out, song.title, 20);
    for (int s = 1; s <= max_samples; ++s)
        put_sample_header(out, specs.samples[s], bank[s]);
    out.push_back(static_cast<std::uint8_t>(song.orders.size()));
    out.push_back(static_cast<std::uint8_t>(song.restart));
    for (int i = 0; i < max_orders; ++i)
        out.push_back(
            static_cast<std::uint8_t>(i < static_cast<int>(song.orders.size()) ? song.orders[i] : 0));
    put_text(out, "M.K.", 4);
    for (const Pattern& pattern : song.patterns) {
        for (const auto& row : pattern.cells) {
            for (const Cell& cell : row)
                put_cell(out, cell);
        }
    }
    for (int s = 1; s <= max_samples; ++s) {
        for (std::int8_t v : bank[s].bytes)
            out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

}   // namespace compose
