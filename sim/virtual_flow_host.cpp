#include "sim/virtual_flow_host.h"

#include <algorithm>

namespace kelvarok::sim {

namespace {

// Unwinds the flow, however deeply nested, when the run is over.
struct RunStopped {};

constexpr std::size_t kEditBoxLimit = 255;

}  // namespace

void VirtualFlowHost::AddEvents(const std::vector<ScriptEvent>& events) {
  events_.insert(events_.end(), events.begin(), events.end());
}

void VirtualFlowHost::Run() {
  try {
    while (!ScriptDone()) {
      AdvanceTo(std::max(now(), events_[next_].time));
      ProcessMessages();
    }
  } catch (const RunStopped&) {
  }
}

void VirtualFlowHost::ProcessMessages() {
  StopIfUntilReached();
  listener().MessagesProcessing();
  DeliverDue();
}

void VirtualFlowHost::WaitForMessages(std::uint32_t timeout_ms) {
  StopIfUntilReached();
  listener().MessagesProcessing();
  if (DeliverDue()) return;
  std::uint32_t target = now() + timeout_ms;
  if (!ScriptDone() && events_[next_].time < target) target = events_[next_].time;
  AdvanceTo(target);
  listener().MessagesProcessing();
  DeliverDue();
}

void VirtualFlowHost::StopIfUntilReached() {
  if (until_ && now() >= *until_) throw RunStopped{};
}

void VirtualFlowHost::AdvanceTo(std::uint32_t target) {
  std::optional<std::uint32_t> stop = until_;
  if (stallLimit_ && ScriptDone()) {
    const std::uint32_t stalled = lastProgress_ + *stallLimit_;
    if (!stop || stalled < *stop) stop = stalled;
  }
  if (stop && target >= *stop) {
    listener().ClockAdvancing(now(), std::max(now(), *stop));
    MoveClockTo(std::max(now(), *stop));
    throw RunStopped{};
  }
  if (target == now()) return;
  listener().ClockAdvancing(now(), target);
  MoveClockTo(target);
}

// With sound, every millisecond on the way: the device's block-done messages
// are handled when they fall due, as the desktop's event loop would, without
// the flow seeing more message processing than it does without sound.
void VirtualFlowHost::MoveClockTo(std::uint32_t target) {
  if (sound_ == nullptr) {
    clock_.Set(target);
    return;
  }
  while (now() != target) {
    clock_.Advance(1);
    sound_->ClockTicked();
  }
}

void VirtualFlowHost::SetSound(HostSound& sound) {
  sound_ = &sound;
  sound_->SetActivated(soundActivated);
}

void VirtualFlowHost::SetSoundActivated(bool activated) {
  soundActivated = activated;
  if (sound_ != nullptr) sound_->SetActivated(activated);
}

bool VirtualFlowHost::DeliverDue() {
  bool delivered = false;
  while (!ScriptDone() && events_[next_].time <= now()) {
    const ScriptEvent event = events_[next_++];  // a copy: delivery may nest
    lastProgress_ = now();
    Deliver(event);
    delivered = true;
  }
  return delivered;
}

void VirtualFlowHost::Deliver(const ScriptEvent& event) {
  switch (event.kind) {
    case ScriptEvent::Kind::Menu:
      ChooseMenuItem(event.item);
      break;
    case ScriptEvent::Kind::Key:
      if (event.down) {
        keys.Press(event.vk);
      } else {
        keys.Release(event.vk);
      }
      break;
    case ScriptEvent::Kind::Joy:
      if (event.unplugged) {
        joysticks.Unplug(event.joystick);
      } else {
        joysticks.Set(event.joystick, event.joy);
      }
      break;
    case ScriptEvent::Kind::Focus:
      if (event.gained) {
        flow_->AppOnActivate();
      } else {
        keys.ReleaseAll();  // as the desktop shell does: no stuck keys
        flow_->AppOnDeactivate();
      }
      break;
    case ScriptEvent::Kind::Name:
      answers_.emplace_back(event.name);
      break;
    case ScriptEvent::Kind::NameCancel:
      answers_.emplace_back(std::nullopt);
      break;
    case ScriptEvent::Kind::Close:
      CloseMainWindow();
      break;
  }
  // The window is gone once the game running in it has returned.
  if (closed_ && !flow_->GameRunning()) throw RunStopped{};
}

void VirtualFlowHost::ChooseMenuItem(MenuItem item) {
  if (!flow_->Menu().Enabled(item)) return;  // as in the real menu
  switch (item) {
    case MenuItem::N1Playerstart1:
      flow_->N1Playerstart1Click();
      break;
    case MenuItem::N2Playerstart1:
      flow_->N2Playerstart1Click();
      break;
    case MenuItem::Pause1:
      flow_->Pause1Click();
      break;
    case MenuItem::Quitgame1:
      flow_->Quitgame1Click();
      break;
    case MenuItem::Highscores1:
      flow_->Highscores1Click();
      break;
    case MenuItem::Exit1:
      flow_->Exit1Click();
      break;
  }
}

void VirtualFlowHost::SetCaption(const std::string& text) {
  caption = text;
  listener().CaptionSet(text);
}

void VirtualFlowHost::SetPanelCaption(StatusPanel panel, const std::string& text) {
  panelCaptions[panel] = text;
}

void VirtualFlowHost::SetPanelFontColour(StatusPanel panel, Pixel colour) {
  panelColours[panel] = colour;
}

bool VirtualFlowHost::InputQuery(const std::string& dialogCaption, const std::string& prompt,
                                 std::string& text) {
  prompts.push_back({dialogCaption, prompt, text});
  std::optional<std::string> answer;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  if (!answer) {
    listener().Prompted(prompt, nullptr);
    return false;
  }
  text = answer->substr(0, kEditBoxLimit);  // all the dialog's edit box takes
  listener().Prompted(prompt, &text);
  return true;
}

void VirtualFlowHost::ShowHighScores(const HiScoreCells& cells) {
  hiscoreWindows.push_back(cells);
  listener().HiScoresShown();
}

void VirtualFlowHost::CloseMainWindow() {
  if (closed_) return;
  closed_ = true;
  flow_->FormCloseQuery([] { return true; });  // nothing to save here
}

void VirtualFlowHost::SoundEffect(Effect effect) {
  // Heard, not kept: a run of millions of frames plays millions of sounds.
  listener().SoundPlayed(effect);
  if (sound_ != nullptr) sound_->SoundEffect(effect);
}

}  // namespace kelvarok::sim
