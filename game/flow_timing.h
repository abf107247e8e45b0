// The flow's clock constants.
#pragma once

#include <cstdint>

namespace kelvarok {

constexpr std::uint32_t kFrameMs = 40;  // one frame, 25 frames per second
// How long a wait for a condition that only a message can change (pause lifted,
// Enter or a key released) sleeps at most before it looks again.
constexpr std::uint32_t kConditionPollMs = kFrameMs;

}  // namespace kelvarok
