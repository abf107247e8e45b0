// Mixing one output block from a session's play lists.
#pragma once

#include "sound/mixer_types.h"

namespace kelvarok {

// Mixes a claimed block from the session's MixPosition on and moves that
// position past it; when nothing is to be heard, frees the block instead and
// gives false.
bool MixBlock(TMixSession& session, TMixBlock& block);

}  // namespace kelvarok
