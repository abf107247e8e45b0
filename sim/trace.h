// The simulator's trace: JSON Lines, one object per frame played and one per
// event between frames, fixed-point values as stored.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "game/game_flow.h"
#include "game/game_menu.h"
#include "game/game_state.h"
#include "game/hiscores.h"
#include "sim/json_writer.h"
#include "sim/virtual_flow_host.h"

namespace kelvarok::sim {

class Trace {
 public:
  Trace(std::ostream& out, const GameState& state, const GameMenu& menu, VirtualFlowHost& host,
        const HiScoreTable& hiscores)
      : out_(out), state_(state), menu_(menu), host_(host), hiscores_(hiscores) {}

  void Frame(FramePhase phase, std::uint32_t frameStart, std::int32_t penaltyClock);
  void Message(const std::string& first, const std::string& second);
  void Restore();
  void Caption(const std::string& text);
  void Sound(Effect effect);
  void Menu();
  void Prompt(const std::string& prompt, const std::string* answer);
  void HiScores();

 private:
  JsonWriter& BeginEvent(const char* name);
  void WriteLine();

  std::ostream& out_;
  const GameState& state_;
  const GameMenu& menu_;
  VirtualFlowHost& host_;
  const HiScoreTable& hiscores_;
  JsonWriter json_;
};

// The closing object of a run: {"final":true,"t",...}.
std::string FinalJson(std::uint32_t t, const GameState& state, const HiScoreTable& hiscores);

}  // namespace kelvarok::sim
