// The revision of the game's rules. Raise it with every change that alters
// what a game does with the same input (a score, a speed, a random draw, the
// order of a frame's work): replays recorded under another revision are then
// refused instead of being played as a different game. tests/replays holds
// recordings that fail when the rules change and this number does not.
#pragma once

#include <cstdint>

namespace kelvarok {

constexpr std::uint32_t kRulesRevision = 1;

}  // namespace kelvarok
