// The ten-place high-score table, place 1 best.
#pragma once

#include <cstdint>
#include <string>

#include "game/one_based.h"

namespace kelvarok {

constexpr int kHiScorePlaces = 10;
constexpr std::size_t kMaxNameLength = 20;

struct THiScore {
  std::int32_t Score = 0;
  std::int32_t Round = 0;
  std::string Name;  // 8-bit Latin-1, at most 20 characters
  friend bool operator==(const THiScore&, const THiScore&) = default;
};

using HiScoreTable = OneBased<THiScore, kHiScorePlaces>;

// The captions of one row of the high-score window: the score followed by one
// blank (its cell is right-aligned), the round, the name.
struct HiScoreRowText {
  std::string Score;
  std::string Round;
  std::string Name;
  friend bool operator==(const HiScoreRowText&, const HiScoreRowText&) = default;
};
using HiScoreCells = OneBased<HiScoreRowText, kHiScorePlaces>;

}  // namespace kelvarok
