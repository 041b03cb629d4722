// The effects of a pattern cell: what they do on a row's first tick and on its others.
#pragma once

#include "sound/player.h"

// The row's first tick; may change the song's position, row, speed and break row.
void apply_row_effect(ChannelState& channel, const Cell& cell);

// Every later tick of the row.
void apply_tick_effect(ChannelState& channel, const Cell& cell);

// The period of a note in the channel's finetune row; note indexes past the table
// (an arpeggio above the highest note) are held at the last entry.
std::int32_t note_period(const ChannelState& channel, std::int32_t note);
