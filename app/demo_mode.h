// The demo: a one-player game played by the autopilot in the real window,
// with nothing read from or written to the user's settings or table.
#pragma once

#include <QObject>
#include <chrono>
#include <cstdio>
#include <memory>

#include "app/command_line.h"
#include "game/autopilot.h"
#include "game/game_flow.h"

namespace kelvarok {

class TForm1;

class DemoMode final : public FlowObserver {
 public:
  DemoMode(TForm1& window, DemoOptions options);
  ~DemoMode() override;

  // Starts the game once the event loop runs.
  void Start();
  // 1 when the screenshot could not be written, else 0.
  int ExitStatus() const { return exitStatus_; }

  void FrameStarted() override;
  void FramePlayed(FramePhase phase, std::uint32_t frameStart, std::int32_t penaltyClock) override;
  void MessageDrawn(const std::string&, const std::string&) override {}
  void FieldRestored() override {}

 private:
  void Pause();
  void LoseFocus();
  void Finish();
  void SaveScreenshot();

  TForm1& window_;
  DemoOptions options_;
  Autopilot autopilot_;
  int frames_ = 0;
  bool finished_ = false;
  int exitStatus_ = 0;
  // --frame-log: where each frame's start on the steady clock is written.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> frameLog_{nullptr, std::fclose};
  std::chrono::steady_clock::time_point frameStart_;
};

}  // namespace kelvarok
