// The texts the game flow writes onto the field and into the window caption,
// character for character.
#pragma once

#include <cstdint>
#include <string>

#include "kelvarok_version.h"

namespace kelvarok {

// The main window's designed caption, "Kelvarok 2.10", to which the flow
// appends its round texts: the program's name and its version, which the
// project sets in one place.
inline std::string BaseCaptionText() {
  return std::string("Kelvarok ") + kProgramVersion;
}
inline std::string PlayerLine(std::int32_t player) {
  return "Player " + std::to_string(player);
}
inline std::string RoundLine(std::int32_t round) {
  return "Round " + std::to_string(round);
}
inline std::string KillRateLine(std::int32_t shot, std::int32_t flown) {
  return "Kill rate: " + std::to_string(shot) + " of " + std::to_string(flown);
}
inline std::string BonusLine(std::int32_t bonus) {
  return "Bonus: " + std::to_string(bonus) + " points";
}
inline std::string RoundCaption(const std::string& base, std::int32_t round) {
  return base + " - " + RoundLine(round);
}
inline std::string BonusCaption(const std::string& base) {
  return base + " - Bonus Round";
}
inline std::string NamePrompt(std::int32_t player) {
  return "Player " + std::to_string(player) + ", enter your name:";
}

inline constexpr const char* kPressEnterLine = "Press Enter";
inline constexpr const char* kBonusRoundLine = "Bonus Round";
inline constexpr const char* kPauseLine = "Pause";
inline constexpr const char* kGameOverLine = "Game Over";
inline constexpr const char* kHighScoreCaption = "High Score!";

}  // namespace kelvarok
