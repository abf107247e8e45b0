// Hashes of a game's state that tell two games apart: a replay keeps them as
// it is recorded, and a playback that comes to other ones is another game.
#pragma once

#include <cstdint>

#include "game/game_world.h"
#include "game/hiscores.h"

namespace kelvarok {

// The state of a running game between two frames: the players' counters, the
// ship, the current player's rocks, the missiles, the shield and the random
// generator.
std::uint32_t CheckpointHash(const GameWorld& world);

// A finished game: every player's score, round and ships, and the table after
// the game's entries, names included.
std::uint64_t FinalHash(const GameState& state, const HiScoreTable& hiscores);

}  // namespace kelvarok
