// The replay file: a recorded game as a small versioned file. Four magic
// bytes, the format version, the rules revision, the deflated body with its
// length and a CRC-32 of all that precedes it.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/replay.h"

namespace kelvarok {

// The format this program writes and the only one it reads.
constexpr std::uint8_t kReplayFormatVersion = 2;

// A file that cannot be played; what() is the message for the player.
class ReplayFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kReplayDamaged = "The replay file is damaged.";
inline constexpr const char* kReplayNotAReplay = "The file is not a Kelvarok replay.";
inline constexpr const char* kReplayUnknownVersion =
    "The replay file comes from an unknown version of Kelvarok.";

// The message for a replay of another rules revision than kRulesRevision.
std::string OtherRulesMessage(std::uint64_t revision);

std::vector<std::uint8_t> EncodeReplay(const Replay& replay);
// Throws ReplayFileError for anything but a whole, undamaged file of this
// format and rules revision.
Replay DecodeReplay(std::span<const std::uint8_t> bytes);

}  // namespace kelvarok
