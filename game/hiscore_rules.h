// The high-score table's rules: who enters, where, and what the table window
// shows.
#pragma once

#include <cstdint>
#include <string>

#include "game/hiscores.h"

namespace kelvarok {

// The first place whose score is strictly below score, or 0 when there is none.
int RankFor(const HiScoreTable& table, std::int32_t score);

// Moves places rank..9 down one (place 10 drops out) and puts the entry at rank,
// its name cut to its first 20 characters.
void InsertHiScore(HiScoreTable& table, int rank, std::int32_t score, std::int32_t round,
                   const std::string& name);

// The captions of the table window's cells.
HiScoreCells HiScoreCellsOf(const HiScoreTable& table);

}  // namespace kelvarok
