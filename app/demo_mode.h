// The demo: a one-player game played by the autopilot in the real window,
// with nothing read from or written to the user's settings or table.
#pragma once

#include <QObject>
#include <memory>

#include "app/command_line.h"
#include "game/game_flow.h"
#include "tools/sim/autopilot.h"

namespace kelvarok {

class TForm1;

class DemoMode final : public FlowObserver {
 public:
  DemoMode(TForm1& window, DemoOptions options);
  ~DemoMode() override;

  // Starts the game once the event loop runs.
  void Start();

  void FramePlayed(FramePhase phase, std::uint32_t frameStart, std::int32_t penaltyClock) override;
  void MessageDrawn(const std::string&, const std::string&) override {}
  void FieldRestored() override {}

 private:
  void Finish();
  void SaveScreenshot() const;

  TForm1& window_;
  DemoOptions options_;
  sim::Autopilot autopilot_;
  int frames_ = 0;
  bool finished_ = false;
};

}  // namespace kelvarok
