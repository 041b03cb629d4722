#include "score.h"
#include "quoted.h"

#include "notes.h"

#include <array>
#include <cstdio>

namespace compose {

namespace {

struct OrderName {
    std::string name;
    int line;
    int column;
};

// Everything the parser carries from line to line.
struct Reader {
    const SampleSet& samples;
    Diagnostics& diags;
    int line = 0;
    Song song;
    std::vector<Pattern> defined;   // in the order they appear in the text
    std::vector<OrderName> order_names;
    Pattern* current = nullptr;   // the pattern whose rows are being read
    // One mistake gives one error: rows after a refused pattern line, the uses of a
    // sample the settings lack and the rows past 64 are reported once each.
    bool skipping_rows = false;       // the rows of a refused pattern line
    bool overflow_reported = false;   // for the current pattern
    std::array<bool, max_samples + 1> unknown_sample_reported{};
};

void error(Reader& r, int column, std::string message)
{
    add_error(r.diags, r.line, column, std::move(message));
}

bool is_none(std::string_view text, std::size_t width)
{
    return text == std::string(width, '.') || text == std::string(width, '-');
}

bool is_hex_digit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void read_note(Reader& r, const Word& word, Cell& cell)
{
    if (is_none(word.text, 3))
        return;
    cell.note = note_index(word.text);
    if (cell.note < 0)
        error(r, word.column,
              "bad note " + quoted(word.text) + " (notes run from C-0 to B-5, e.g. C-2 or F#3)");
}

void read_sample(Reader& r, const Word& word, Cell& cell)
{
    if (is_none(word.text, 2))
        return;
    int number = 0;
    if (word.text.size() != 2 || !parse_int(word.text, number) || number < 1 || number > max_samples) {
        error(r, word.column, "bad sample number " + quoted(word.text) + " (01 to 31)");
        return;
    }
    if (r.samples.samples[number].kind == VoiceKind::none) {
        if (!r.unknown_sample_reported[number])
            error(r, word.column,
                  "unknown sample " + quoted(word.text) +
                      ": the settings do not describe it (reported at its first use only)");
        r.unknown_sample_reported[number] = true;
        return;
    }
    cell.sample = number;
}

// Effects the player would misread or that would wreck the song are refused.
void check_effect(Reader& r, const Word& word, const Cell& cell)
{
    int p = cell.parameter;
    if (cell.command == 0xF && p >= 0x20)
        error(r, word.column, "speed must be 01 to 1F; tempo values are not played");
    else if (cell.command == 0xF && p == 0)
        error(r, word.column, "speed 00 would stop the song");
    else if (cell.command == 0xD && ((p >> 4) > 6 || (p & 15) > 9 || (p >> 4) * 10 + (p & 15) > 63))
        error(r, word.column, "pattern break needs a decimal row 00 to 63");
}

void read_effect(Reader& r, const Word& word, Cell& cell)
{
    if (is_none(word.text, 3))
        return;
    bool hex = word.text.size() == 3;
    for (char c : word.text)
        hex = hex && is_hex_digit(c);
    int value = 0;
    if (!hex || !parse_hex(word.text, value)) {
        error(r, word.column, "bad effect " + quoted(word.text) + " (three hex digits, e.g. A04)");
        return;
    }
    cell.command = value >> 8;
    cell.parameter = value & 0xFF;
    check_effect(r, word, cell);
}

void read_cell(Reader& r, std::string_view text, int column, Cell& cell)
{
    std::vector<Word> words = split_words(text, column);
    if (words.empty())
        return;
    if (words.size() != 3) {
        error(r, words[0].column, "a cell is a note, a sample and an effect, e.g. 'C-2 01 ...'");
        return;
    }
    read_note(r, words[0], cell);
    read_sample(r, words[1], cell);
    read_effect(r, words[2], cell);
}

void read_row(Reader& r, std::string_view text)
{
    std::vector<Word> words = split_words(text);
    if (!r.current) {
        if (!r.skipping_rows)
            error(r, words[0].column, "a row must follow a 'pattern NAME' line");
        r.skipping_rows = true;
        return;
    }
    Pattern& pattern = *r.current;
    if (pattern.rows == rows_per_pattern) {
        if (!r.overflow_reported)
            error(r, words[0].column,
                  "row too many: pattern " + quoted(pattern.name) + " already has 64 rows");
        r.overflow_reported = true;
        return;
    }
    // Split at the bars: the row number, then one cell per channel.
    std::vector<std::size_t> bars;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '|')
            bars.push_back(i);
    }
    std::string_view number = text.substr(0, bars.empty() ? text.size() : bars[0]);
    std::vector<Word> number_words = split_words(number);
    int row = -1;
    if (number_words.size() != 1 || !parse_int(number_words[0].text, row) || row != pattern.rows) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "%02d", pattern.rows);
        if (row > pattern.rows && row < rows_per_pattern && number_words.size() == 1) {
            // Rows left out: say so once and go on from this row's own number, so that
            // the rows after it are not all out of step.
            char last[16];
            std::snprintf(last, sizeof last, "%02d", row - 1);
            const std::string missing =
                row - 1 == pattern.rows ? "row " + std::string(expected) + " is missing"
                                        : "rows " + std::string(expected) + " to " + last + " are missing";
            error(r, words[0].column, "expected row number " + std::string(expected) + " here; " + missing);
            pattern.rows = row;
        } else if (row >= 0 && row < pattern.rows && number_words.size() == 1) {
            error(r, words[0].column,
                  "expected row number " + std::string(expected) +
                      " here; this row repeats an earlier number and is left out");
            return;
        } else {
            error(r, words[0].column, "expected row number " + std::string(expected) + " here");
            ++pattern.rows;
            return;
        }
    }
    // A closing bar after the last channel is optional.
    std::size_t cells = bars.size();
    if (cells > 0 && split_words(text.substr(bars.back() + 1)).empty())
        --cells;
    if (cells != channels) {
        // Point at the first extra cell, or just past the end where a cell is missing.
        int column =
            cells > channels ? static_cast<int>(bars[channels]) + 1 : static_cast<int>(text.size()) + 1;
        error(r, column, "a row has 4 channels, this one has " + std::to_string(cells));
        ++pattern.rows;
        return;
    }
    pattern.row_lines[row] = r.line;
    for (std::size_t c = 0; c < channels; ++c) {
        std::size_t start = bars[c] + 1;
        std::size_t end = c + 1 < bars.size() ? bars[c + 1] : text.size();
        read_cell(r, text.substr(start, end - start), static_cast<int>(start) + 1, pattern.cells[row][c]);
    }
    ++pattern.rows;
}

void finish_pattern(Reader& r)
{
    if (r.current && r.current->rows < rows_per_pattern) {
        add_error(r.diags, r.current->line, 1,
                  "pattern " + quoted(r.current->name) + " has only " + std::to_string(r.current->rows) +
                      " of its 64 rows");
    }
    r.current = nullptr;
}

void start_pattern(Reader& r, const std::vector<Word>& words)
{
    finish_pattern(r);
    r.skipping_rows = false;
    r.overflow_reported = false;
    if (words.size() != 2) {
        error(r, words[0].column, "expected 'pattern NAME'");
        r.skipping_rows = true;
        return;
    }
    for (const Pattern& p : r.defined) {
        if (p.name == words[1].text) {
            error(r, words[1].column,
                  "pattern " + quoted(p.name) + " is already defined on line " + std::to_string(p.line));
            r.skipping_rows = true;
            return;
        }
    }
    if (r.defined.size() == max_patterns) {
        error(r, words[0].column, "a song holds at most 128 patterns");
        r.skipping_rows = true;
        return;
    }
    r.defined.push_back(Pattern{});
    r.current = &r.defined.back();
    r.current->name = std::string(words[1].text);
    r.current->line = r.line;
}

void read_directive(Reader& r, const std::vector<Word>& words, std::string_view text)
{
    std::string_view key = words[0].text;
    if (key == "pattern") {
        start_pattern(r, words);
        return;
    }
    finish_pattern(r);
    r.skipping_rows = false;
    if (key == "title") {
        std::string_view rest =
            text.substr(static_cast<std::size_t>(words.size() > 1 ? words[1].column - 1 : text.size()));
        if (rest.size() > 20)
            error(r, words[1].column, "the title has room for 20 characters");
        r.song.title = std::string(rest);
    } else if (key == "restart") {
        if (words.size() != 2 || !parse_int(words[1].text, r.song.restart) || r.song.restart < 0 ||
            r.song.restart > 126)
            error(r, words.size() > 1 ? words[1].column : words[0].column,
                  "restart must be an order position 0 to 126");
    } else if (key == "order") {
        if (r.song.order_line == 0)
            r.song.order_line = r.line;
        for (std::size_t i = 1; i < words.size(); ++i)
            r.order_names.push_back(OrderName{std::string(words[i].text), r.line, words[i].column});
    } else {
        error(r, words[0].column,
              "unknown line " + quoted(key) + " (title, restart, order, pattern or a row)");
    }
}

// Numbers the patterns by their first appearance in the order list, so that
// every stored pattern is one the song plays.
void resolve_orders(Reader& r)
{
    if (r.order_names.empty())
        add_error(r.diags, r.line, 1, "the song has no 'order' list");
    if (r.order_names.size() > max_orders) {
        const OrderName& o = r.order_names[max_orders];
        add_error(r.diags, o.line, o.column, "the order list holds at most 128 entries");
    }
    std::vector<int> number_of(r.defined.size(), -1);
    for (const OrderName& o : r.order_names) {
        std::size_t d = 0;
        while (d < r.defined.size() && r.defined[d].name != o.name)
            ++d;
        if (d == r.defined.size()) {
            add_error(r.diags, o.line, o.column, "unknown pattern " + quoted(o.name));
            continue;
        }
        if (number_of[d] < 0) {
            number_of[d] = static_cast<int>(r.song.patterns.size());
            r.song.patterns.push_back(r.defined[d]);
        }
        r.song.orders.push_back(number_of[d]);
    }
    for (std::size_t d = 0; d < r.defined.size(); ++d) {
        if (number_of[d] < 0)
            add_warning(r.diags, r.defined[d].line, 1,
                        "pattern " + quoted(r.defined[d].name) + " is never played");
    }
    if (!r.order_names.empty() && r.song.restart >= static_cast<int>(r.order_names.size()))
        add_error(r.diags, r.line, 1, "the restart position lies beyond the order list");
}

}   // namespace

Song parse_score(std::string_view text, std::string_view file, const SampleSet& samples, Diagnostics& diags)
{
    diags.file_name = file;
    Reader r{samples, diags, 0, Song{}, {}, {}, nullptr};
    for (std::string_view raw : split_lines(text)) {
        ++r.line;
        std::string_view line = strip_comment(raw);
        std::vector<Word> words = split_words(line);
        if (words.empty())
            continue;
        char first = words[0].text[0];
        if (first >= '0' && first <= '9')
            read_row(r, line);
        else
            read_directive(r, words, line);
    }
    finish_pattern(r);
    resolve_orders(r);
    return r.song;
}

}   // namespace compose
