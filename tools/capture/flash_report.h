// What the flash analysis found, written out: a CSV table with one row per second, a
// one-line summary, and a plot of the flashing area over time.
#pragma once

#include "flash_analysis.h"

#include <cstdint>
#include <cstdio>
#include <string>

// The header line and one row per analysed second:
// second,frames,transitions,screen_percent,field_percent,red_transitions,
// red_screen_percent,red_field_percent,result
// where the percentages are of the whole 640x480 screen and of the worst 10-degree field
// (in tenths, rounded down) and result is pass, general, red or general+red. False when
// a write failed (errno tells why).
bool write_flash_csv(std::FILE* file, const FlashAnalysis& analysis);

// "all 205 seconds pass" or "12 of 205 seconds fail (12 general, 0 red); the worst,
// 78 s, flashes over 83.2% of a 10-degree field". No newline.
std::string flash_summary(const FlashAnalysis& analysis);

// How many analysed seconds fail either limit.
int failing_seconds(const FlashAnalysis& analysis);

// The plot: for each second a column `column_width` pixels wide, the worst field's
// flashing share from 0 at the bottom to 100% at the top (general in orange, red-rule
// in red over it), the limit of 25% as a grey line, a tick every ten seconds.
constexpr int flash_plot_height = 200;
constexpr int flash_plot_column = 4;
int flash_plot_width(const FlashAnalysis& analysis);
// `rgb`: flash_plot_width x flash_plot_height pixels of three bytes.
void draw_flash_plot(const FlashAnalysis& analysis, std::uint8_t* rgb);
