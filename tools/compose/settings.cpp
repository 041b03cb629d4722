#include "settings.h"
#include "quoted.h"

#include "notes.h"

namespace compose {

namespace {

constexpr unsigned bit(VoiceKind kind)
{
    return 1u << static_cast<unsigned>(kind);
}

constexpr unsigned drums = bit(VoiceKind::kick) | bit(VoiceKind::snare) | bit(VoiceKind::noise);
constexpr unsigned every_kind = drums | bit(VoiceKind::tone);

// A numeric key: the field it sets, the kinds it applies to and its range.
struct NumberKey {
    const char* name;
    double SampleSpec::*field;
    unsigned kinds;
    double low;
    double high;
};

constexpr NumberKey number_keys[] = {
    {"level", &SampleSpec::level, every_kind, 0.01, 1.0},
    {"length", &SampleSpec::length, drums, 0.005, 3.0},
    {"drive", &SampleSpec::drive, every_kind, 0.1, 20.0},
    {"decay", &SampleSpec::decay, every_kind, 0.001, 10.0},
    {"start_hz", &SampleSpec::start_hz, bit(VoiceKind::kick), 20.0, 2000.0},
    {"end_hz", &SampleSpec::end_hz, bit(VoiceKind::kick), 20.0, 2000.0},
    {"sweep", &SampleSpec::sweep, bit(VoiceKind::kick), 0.001, 1.0},
    {"click", &SampleSpec::click, bit(VoiceKind::kick), 0.0, 2.0},
    {"tone_hz", &SampleSpec::tone_hz, bit(VoiceKind::snare), 50.0, 2000.0},
    {"tone_decay", &SampleSpec::tone_decay, bit(VoiceKind::snare), 0.001, 2.0},
    {"tone_level", &SampleSpec::tone_level, bit(VoiceKind::snare), 0.0, 2.0},
    {"noise_level", &SampleSpec::noise_level, bit(VoiceKind::snare), 0.0, 2.0},
    {"highpass", &SampleSpec::highpass, bit(VoiceKind::snare) | bit(VoiceKind::noise), 10.0, 20000.0},
    {"lowpass", &SampleSpec::lowpass, bit(VoiceKind::snare) | bit(VoiceKind::noise), 10.0, 20000.0},
    {"metal", &SampleSpec::metal, bit(VoiceKind::noise), 0.0, 2.0},
    {"detune", &SampleSpec::detune, bit(VoiceKind::tone), 0.0, 100.0},
    {"cutoff", &SampleSpec::cutoff, bit(VoiceKind::tone), 20.0, 20000.0},
    {"attack_cutoff", &SampleSpec::attack_cutoff, bit(VoiceKind::tone), 0.0, 20000.0},
    {"attack", &SampleSpec::attack, bit(VoiceKind::tone), 0.0, 2.0},
    {"sustain", &SampleSpec::sustain, bit(VoiceKind::tone), 0.0, 1.0},
    {"pre", &SampleSpec::pre, bit(VoiceKind::tone), 0.0, 4.0},
    {"loop", &SampleSpec::loop, bit(VoiceKind::tone), 0.0, 4.0},
};

struct Block {
    Diagnostics& diags;
    SampleSpec* spec;   // the sample being described, or none before the first block
    int line;
    // One mistake gives one error: the settings under a refused or kindless sample
    // line are reported once, not once each.
    bool orphans_reported = false;
};

void error(Block& b, int column, std::string message)
{
    add_error(b.diags, b.line, column, std::move(message));
}

VoiceKind kind_named(std::string_view name)
{
    if (name == "kick")
        return VoiceKind::kick;
    if (name == "snare")
        return VoiceKind::snare;
    if (name == "noise")
        return VoiceKind::noise;
    if (name == "tone")
        return VoiceKind::tone;
    return VoiceKind::none;
}

bool wave_named(std::string_view name, Wave& wave)
{
    constexpr struct {
        const char* name;
        Wave wave;
    } waves[] = {
        {"sine", Wave::sine}, {"triangle", Wave::triangle}, {"square", Wave::square}, {"saw", Wave::saw}};
    for (const auto& w : waves) {
        if (name == w.name) {
            wave = w.wave;
            return true;
        }
    }
    return false;
}

void start_block(Block& b, SampleSet& set, const std::vector<Word>& words)
{
    int number = 0;
    if (words.size() < 3) {
        error(b, words[0].column, "expected 'sample NUMBER NAME'");
        b.spec = nullptr;
        return;
    }
    if (!parse_int(words[1].text, number) || number < 1 || number > max_samples) {
        error(b, words[1].column, "sample number must be 1 to 31, not '" + std::string(words[1].text) + "'");
        b.spec = nullptr;
        return;
    }
    SampleSpec& spec = set.samples[number];
    if (!spec.name.empty()) {
        error(b, words[1].column,
              "sample " + std::to_string(number) + " is already described on line " +
                  std::to_string(spec.line));
        b.spec = nullptr;
        return;
    }
    spec = SampleSpec{};
    // The name is the rest of the line; the module keeps 22 characters of it.
    const char* first = words[2].text.data();
    const char* last = words.back().text.data() + words.back().text.size();
    spec.name.assign(first, last);
    if (spec.name.size() > 22)
        error(b, words[2].column, "sample name is longer than 22 characters");
    spec.line = b.line;
    b.spec = &spec;
}

void read_oscillator(Block& b, const std::vector<Word>& words)
{
    SampleSpec& spec = *b.spec;
    Oscillator osc{};
    if (words.size() != 4) {
        error(b, words[0].column, "expected 'osc WAVE SEMITONES LEVEL'");
        return;
    }
    if (!wave_named(words[1].text, osc.wave)) {
        error(b, words[1].column,
              "unknown wave '" + std::string(words[1].text) + "' (sine, triangle, square, saw)");
        return;
    }
    if (!parse_double(words[2].text, osc.semitones) || osc.semitones < -24 || osc.semitones > 36) {
        error(b, words[2].column, "interval must be -24 to 36 semitones");
        return;
    }
    if (!parse_double(words[3].text, osc.level) || osc.level < 0 || osc.level > 1) {
        error(b, words[3].column, "oscillator level must be 0 to 1");
        return;
    }
    if (spec.oscillator_count == max_oscillators) {
        error(b, words[0].column, "a sample has at most 8 oscillators");
        return;
    }
    spec.oscillators[spec.oscillator_count++] = osc;
}

bool read_int_key(Block& b, const std::vector<Word>& words, int low, int high, int& value)
{
    if (!parse_int(words[1].text, value) || value < low || value > high) {
        error(b, words[1].column,
              std::string(words[0].text) + " must be a whole number from " + std::to_string(low) + " to " +
                  std::to_string(high));
        return false;
    }
    return true;
}

// Keys that are not plain numbers, with the kinds they apply to.
struct SpecialKey {
    const char* name;
    unsigned kinds;
};

constexpr SpecialKey special_keys[] = {
    {"note", drums},
    {"volume", every_kind},
    {"octave", bit(VoiceKind::tone)},
    {"unison", bit(VoiceKind::tone)},
};

bool applies(Block& b, const Word& key)
{
    for (const SpecialKey& special : special_keys) {
        if (key.text == special.name && !(special.kinds & bit(b.spec->kind))) {
            error(b, key.column, quoted(key.text) + " does not apply to this kind of sample");
            return false;
        }
    }
    return true;
}

bool read_special_key(Block& b, const std::vector<Word>& words)
{
    SampleSpec& spec = *b.spec;
    std::string_view key = words[0].text;
    if (key != "kind" && !applies(b, words[0]))
        return true;
    if (key == "kind") {
        spec.kind = kind_named(words[1].text);
        if (spec.kind == VoiceKind::none)
            error(b, words[1].column,
                  "unknown kind '" + std::string(words[1].text) + "' (kick, snare, noise, tone)");
    } else if (key == "note") {
        int index = note_index(words[1].text);
        if (index < 0)
            error(b, words[1].column, "bad note '" + std::string(words[1].text) + "'");
        else
            spec.note = index;
    } else if (key == "volume") {
        read_int_key(b, words, 0, 64, spec.volume);
    } else if (key == "octave") {
        read_int_key(b, words, 1, 7, spec.octave);
    } else if (key == "unison") {
        read_int_key(b, words, 1, 5, spec.unison);
    } else {
        return false;
    }
    return true;
}

void read_number_key(Block& b, const std::vector<Word>& words)
{
    for (const NumberKey& key : number_keys) {
        if (words[0].text != key.name)
            continue;
        if (!(key.kinds & bit(b.spec->kind))) {
            error(b, words[0].column, quoted(key.name) + " does not apply to this kind of sample");
            return;
        }
        double value = 0;
        if (!parse_double(words[1].text, value) || value < key.low || value > key.high) {
            error(b, words[1].column,
                  std::string(key.name) + " must be a number from " + std::to_string(key.low) + " to " +
                      std::to_string(key.high));
            return;
        }
        b.spec->*key.field = value;
        return;
    }
    error(b, words[0].column, "unknown setting '" + std::string(words[0].text) + "'");
}

void read_setting(Block& b, const std::vector<Word>& words)
{
    if (!b.spec) {
        if (!b.orphans_reported)
            error(b, words[0].column, "settings must follow a 'sample NUMBER NAME' line");
        b.orphans_reported = true;
        return;
    }
    if (words[0].text != "kind" && b.spec->kind == VoiceKind::none) {
        if (!b.orphans_reported)
            error(b, words[0].column, "'kind' must come first in a sample's settings");
        b.orphans_reported = true;
        return;
    }
    if (words[0].text == "osc") {
        if (b.spec->kind != VoiceKind::tone)
            error(b, words[0].column, "'osc' does not apply to this kind of sample");
        else
            read_oscillator(b, words);
        return;
    }
    if (words.size() != 2) {
        error(b, words[0].column, "expected 'KEY VALUE'");
        return;
    }
    if (!read_special_key(b, words))
        read_number_key(b, words);
}

void check_block(Diagnostics& diags, const SampleSpec& spec)
{
    if (spec.kind == VoiceKind::none)
        add_error(diags, spec.line, 1,
                  "sample '" + spec.name + "' has no kind (the first setting must be 'kind')");
    if (spec.kind == VoiceKind::tone && spec.oscillator_count == 0)
        add_error(diags, spec.line, 1, "tone sample '" + spec.name + "' has no oscillator");
    if (spec.kind == VoiceKind::tone && spec.loop == 0.0 && spec.pre == 0.0)
        add_error(diags, spec.line, 1, "tone sample '" + spec.name + "' has neither a 'pre' part nor a loop");
}

}   // namespace

SampleSet parse_settings(std::string_view text, std::string_view file, Diagnostics& diags)
{
    SampleSet set;
    diags.file_name = file;
    Block block{diags, nullptr, 0};
    for (std::string_view raw : split_lines(text)) {
        ++block.line;
        std::vector<Word> words = split_words(strip_comment(raw));
        if (words.empty())
            continue;
        if (words[0].text == "sample") {
            start_block(block, set, words);
            // A refused sample line has been reported; its settings need not be.
            block.orphans_reported = block.spec == nullptr;
        } else
            read_setting(block, words);
    }
    for (const SampleSpec& spec : set.samples) {
        if (!spec.name.empty())
            check_block(diags, spec);
    }
    return set;
}

}   // namespace compose
