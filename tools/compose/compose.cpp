#include "compose.h"

#include "song_flow.h"

namespace compose {

namespace {

// A sample offset must land inside the sample, and for a looping sample no
// later than the loop's end: the player switches the loop off otherwise.
void check_offsets(const Song& song, const SampleBank& bank, std::string_view file, Diagnostics& diags)
{
    diags.file_name = file;
    for (const Pattern& pattern : song.patterns) {
        for (int row = 0; row < rows_per_pattern; ++row) {
            for (const Cell& cell : pattern.cells[row]) {
                if (cell.command != 9 || cell.sample == 0)
                    continue;
                const SampleData& data = bank[cell.sample];
                int offset = cell.parameter * 256;
                int limit = data.loop_length > 0 ? data.loop_start + data.loop_length
                                                 : static_cast<int>(data.bytes.size()) - 1;
                if (offset > limit) {
                    add_error(diags, pattern.row_lines[row], 1,
                              "sample offset " + std::to_string(offset) + " lies beyond sample " +
                                  std::to_string(cell.sample) + " (" + std::to_string(limit) + " bytes)");
                }
            }
        }
    }
}

}   // namespace

SampleBank synthesise_bank(const SampleSet& specs, std::string_view settings_file, Diagnostics& diags)
{
    SampleBank bank;
    diags.file_name = settings_file;
    for (int s = 1; s <= max_samples; ++s) {
        const SampleSpec& spec = specs.samples[s];
        if (spec.kind == VoiceKind::none)
            continue;
        bank[s] = synthesise(spec);
        std::size_t size = bank[s].bytes.size();
        if (size > max_sample_bytes) {
            add_error(diags, spec.line, 1,
                      "sample '" + spec.name + "' would take " + std::to_string(size) +
                          " bytes; a sample holds at most 131070");
            bank[s] = SampleData{};
        }
    }
    return bank;
}

std::vector<std::uint8_t> compose_module(SourceText score, SourceText settings, Diagnostics& diags,
                                         int end_order)
{
    SampleSet specs = parse_settings(settings.text, settings.file, diags);
    if (!diags.errors.empty())
        return {};
    Song song = parse_score(score.text, score.file, specs, diags);
    if (!diags.errors.empty())
        return {};
    if (end_order >= 0 && !song_reaches_order(song, end_order)) {
        diags.file_name = score.file;
        add_warning(diags, song.order_line, 1,
                    "the song never reaches order " + std::to_string(end_order) +
                        ", where the demo ends, so the demo would never end by itself; make the "
                        "order list at least " +
                        std::to_string(end_order + 1) + " entries long (order " + std::to_string(end_order) +
                        " holds the ending) and keep its jumps from leading back before it");
    }
    SampleBank bank = synthesise_bank(specs, settings.file, diags);
    check_offsets(song, bank, score.file, diags);
    if (!diags.errors.empty())
        return {};
    return write_module(song, specs, bank);
}

}   // namespace compose
