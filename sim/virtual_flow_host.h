// A FlowHost on a virtual clock with scripted input: the window of the tests
// and of the headless simulator. Waiting jumps the clock to the earlier of the
// deadline and the next scripted event, so a game runs as fast as the CPU
// allows and always the same way.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "game/flow_host.h"
#include "game/game_flow.h"
#include "platform/clock.h"
#include "platform/joystick.h"
#include "platform/key_state.h"
#include "sim/script.h"

namespace kelvarok::sim {

// What the host tells the simulator's trace and autopilot.
class HostListener {
 public:
  virtual ~HostListener() = default;
  virtual void CaptionSet(const std::string& /*text*/) {}
  virtual void SoundPlayed(Effect /*effect*/) {}
  virtual void MenuChanged() {}
  // answer is nullptr when the prompt was cancelled.
  virtual void Prompted(const std::string& /*prompt*/, const std::string* /*answer*/) {}
  virtual void HiScoresShown() {}
  // At the start of every round of message processing.
  virtual void MessagesProcessing() {}
  // The clock is about to move from `from` to `to`; the field stands as it is
  // for the whole of [from, to).
  virtual void ClockAdvancing(std::uint32_t /*from*/, std::uint32_t /*to*/) {}
};

// The sound a run makes, when it makes one: the game's requests and focus, and
// every millisecond of virtual time, in which the device plays and the mixer
// handles its messages.
class HostSound {
 public:
  virtual ~HostSound() = default;
  virtual void SoundEffect(Effect effect) = 0;
  virtual void SetActivated(bool activated) = 0;
  // The clock has just moved on by one millisecond.
  virtual void ClockTicked() = 0;
};

class VirtualFlowHost final : public FlowHost {
 public:
  explicit VirtualFlowHost(TextPainter& fieldText) : fieldText_(fieldText) {}

  void Attach(GameFlow& flow) { flow_ = &flow; }
  void SetListener(HostListener* listener) { listener_ = listener; }
  // From now on the clock moves a millisecond at a time and the sound hears
  // of each; it is activated as the window's focus stands.
  void SetSound(HostSound& sound);
  // Events in non-decreasing time order; appended after those already queued.
  void AddEvents(const std::vector<ScriptEvent>& events);
  // The run stops when the clock reaches this time.
  void SetUntil(std::optional<std::uint32_t> until) { until_ = until; }
  // Once the script is done, the run also stops when this long passes after
  // the last delivered event and the last Progressed(): the flow then waits for
  // input that can never come.
  void SetStallLimit(std::optional<std::uint32_t> ms) { stallLimit_ = ms; }
  void Progressed() { lastProgress_ = now(); }

  // Delivers the script as its times come, until nothing is left to deliver
  // while no game runs, the clock reaches the stop time, or the main window
  // was closed and no game runs any more.
  void Run();
  bool Closed() const { return closed_; }
  bool ScriptDone() const { return next_ >= events_.size(); }

  // --- FlowHost ---------------------------------------------------------------
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  Clock& clock() override { return clock_; }
  TextPainter& FieldText() override { return fieldText_; }
  KeyState& Keys() override { return keys; }
  Joystick& Joysticks() override { return joysticks; }
  void SetCaption(const std::string& text) override;
  // The flow pushes only changes: each is a menu event.
  void SetMenuEnabled(MenuItem, bool) override { listener().MenuChanged(); }
  void SetMenuChecked(MenuItem, bool) override { listener().MenuChanged(); }
  void SetPanelCaption(StatusPanel panel, const std::string& text) override;
  void SetPanelFontColour(StatusPanel panel, Pixel colour) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& text) override;
  void ShowHighScores(const HiScoreCells& cells) override;
  void CloseMainWindow() override;
  void SetSoundActivated(bool activated) override;
  void InvalidateField() override { ++invalidations; }
  void SoundEffect(Effect effect) override;

  std::uint32_t now() { return clock_.timeGetTime(); }

  // What the window shows, for tests.
  KeyTable keys;
  ScriptedJoysticks joysticks;
  std::string caption;
  std::map<StatusPanel, std::string> panelCaptions;
  std::map<StatusPanel, Pixel> panelColours;
  bool soundActivated = true;
  int invalidations = 0;
  struct PromptShown {
    std::string caption;
    std::string prompt;
    std::string box;  // the edit box's text as the dialog opened
  };
  std::vector<PromptShown> prompts;
  std::vector<HiScoreCells> hiscoreWindows;

 private:
  bool DeliverDue();
  void Deliver(const ScriptEvent& event);
  void ChooseMenuItem(MenuItem item);
  void AdvanceTo(std::uint32_t target);
  void MoveClockTo(std::uint32_t target);
  void StopIfUntilReached();

  TextPainter& fieldText_;
  GameFlow* flow_ = nullptr;
  HostListener* listener_ = nullptr;
  HostListener silent_;
  HostSound* sound_ = nullptr;
  VirtualClock clock_;
  std::vector<ScriptEvent> events_;
  std::size_t next_ = 0;
  std::optional<std::uint32_t> until_;
  std::optional<std::uint32_t> stallLimit_;
  std::uint32_t lastProgress_ = 0;
  std::deque<std::optional<std::string>> answers_;  // nullopt: cancel
  bool closed_ = false;

  HostListener& listener() { return listener_ != nullptr ? *listener_ : silent_; }
};

}  // namespace kelvarok::sim
