#include "game/hiscore_rules.h"

namespace kelvarok {

int RankFor(const HiScoreTable& table, std::int32_t score) {
  for (int r = 1; r <= kHiScorePlaces; ++r)
    if (score > table[r].Score) return r;
  return 0;
}

void InsertHiScore(HiScoreTable& table, int rank, std::int32_t score, std::int32_t round,
                   const std::string& name) {
  for (int r = kHiScorePlaces - 1; r >= rank; --r) table[r + 1] = table[r];
  table[rank] = {score, round, name.substr(0, kMaxNameLength)};
}

HiScoreCells HiScoreCellsOf(const HiScoreTable& table) {
  HiScoreCells cells;
  for (int r = 1; r <= kHiScorePlaces; ++r)
    cells[r] = {std::to_string(table[r].Score) + " ", std::to_string(table[r].Round),
                table[r].Name};
  return cells;
}

}  // namespace kelvarok
