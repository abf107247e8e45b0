// Everything the program keeps between runs: the main window's size and
// state, the game settings and the high-score table.
#pragma once

#include <cstdint>
#include <string>

#include "game/game_settings.h"
#include "game/hiscores.h"

namespace kelvarok {

struct StoredSettings {
  std::int32_t FormWidth = 0;   // 0 or less: no stored width
  std::int32_t FormHeight = 0;  // 0 or less: no stored height
  bool FormMaximized = false;
  GameSettings game;
  HiScoreTable HiScores;
};

// Calls the visitor once per stored value, in the order the values are read
// and written, with the name it is read under, the name it is written under,
// the variable and its default:
//   Int(read, write, std::int32_t&, default), Bool(read, write, bool&, default),
//   Key(read, write, std::uint16_t&, default), Text(read, write, std::string&).
// Settings is StoredSettings or const StoredSettings.
template <typename Settings, typename Visitor>
void VisitStoredValues(Settings& s, Visitor&& v) {
  v.Int("FormWidth", "FormWidth", s.FormWidth, 0);
  v.Int("FormHeight", "FormHeight", s.FormHeight, 0);
  v.Bool("FormMaximized", "FormMaximized", s.FormMaximized, false);
  auto& g = s.game;
  v.Bool("PhaserSounds", "PhaserSounds", g.PhaserSounds, true);
  v.Bool("CrashSounds", "CrashSounds", g.CrashSounds, true);
  v.Bool("ThrustSounds", "ThrustSounds", g.ThrustSounds, true);
  v.Bool("HyperSpaceSounds", "HyperSpaceSounds", g.HyperSpaceSounds, true);
  v.Bool("BonusSounds", "BonusSounds", g.BonusSounds, true);
  v.Int("SoundVolume", "SoundVolume", g.SoundVolume, 70);
  v.Int("JoyStick1", "Joystick1", g.JoyStick1, 0);
  v.Int("JoyStick2", "Joystick2", g.JoyStick2, 0);
  v.Key("FireKey", "FireKey", g.FireKey, 17);
  v.Key("ThrustKey", "ThrustKey", g.ThrustKey, 38);
  v.Key("LeftKey", "LeftKey", g.LeftKey, 37);
  v.Key("RightKey", "RightKey", g.RightKey, 39);
  v.Key("HyperSpaceKey", "HyperSpaceKey", g.HyperSpaceKey, 32);
  for (int i = 1; i <= kHiScorePlaces; ++i) {
    const std::string n = std::to_string(i);
    const std::string score = "Score" + n, round = "Round" + n, name = "Name" + n;
    v.Int(score.c_str(), score.c_str(), s.HiScores[i].Score, 0);
    v.Int(round.c_str(), round.c_str(), s.HiScores[i].Round, 0);
    v.Text(name.c_str(), name.c_str(), s.HiScores[i].Name);
  }
}

}  // namespace kelvarok
