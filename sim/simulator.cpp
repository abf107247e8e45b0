#include "sim/simulator.h"

#include <algorithm>

#include "game/flow_texts.h"
#include "platform/png.h"

namespace kelvarok::sim {

namespace {

// A joystick the script moves is assigned to its player: joystick 0 (the
// first) to player 1, joystick 1 (the second) to player 2. Unassigned, as by
// default, a joystick is not read at all.
void AssignScriptedJoysticks(const std::vector<ScriptEvent>& script, GameSettings& settings) {
  for (const ScriptEvent& e : script) {
    if (e.kind != ScriptEvent::Kind::Joy || e.unplugged) continue;
    if (e.joystick == JOYSTICKID1) settings.JoyStick1 = 1;
    if (e.joystick == JOYSTICKID2) settings.JoyStick2 = 2;
  }
}

bool StartsAGame(const std::vector<ScriptEvent>& script) {
  return std::any_of(script.begin(), script.end(), [](const ScriptEvent& e) {
    return e.kind == ScriptEvent::Kind::Menu &&
           (e.item == MenuItem::N1Playerstart1 || e.item == MenuItem::N2Playerstart1);
  });
}

}  // namespace

Simulator::Simulator(const SpriteSet& sprites, TextPainter& fieldText, SimOptions options)
    : options_(std::move(options)), host_(fieldText) {
  if (options_.settings) {
    settings_ = options_.settings->game;
    hiscores_ = options_.settings->hiscores;
  } else {
    AssignScriptedJoysticks(options_.script, settings_);
  }
  if (options_.replay) {
    replayGame_ = std::make_unique<ReplayGame>(sprites, *options_.replay, host_, BaseCaptionText());
    world_ = &replayGame_->world();
    flow_ = &replayGame_->flow();
    table_ = &replayGame_->hiscores();
  } else {
    ownWorld_ = std::make_unique<GameWorld>(sprites, settings_, host_, options_.seed);
    ownFlow_ = std::make_unique<GameFlow>(*ownWorld_, host_, hiscores_, BaseCaptionText());
    world_ = ownWorld_.get();
    flow_ = ownFlow_.get();
  }
  host_.Attach(*flow_);
  host_.SetListener(this);
  host_.SetUntil(options_.until);
  host_.SetStallLimit(kStallLimitMs);
  host_.SetCaption(BaseCaptionText());
  flow_->SetObserver(this);
  if (options_.trace != nullptr)
    trace_ = std::make_unique<Trace>(*options_.trace, world_->state, flow_->Menu(), host_, *table_);
  if (options_.autopilot) {
    autopilot_ =
        std::make_unique<Autopilot>(*world_, [this](int vk, bool down) { SetKey(vk, down); });
    if (!StartsAGame(options_.script)) {
      ScriptEvent start;
      start.kind = ScriptEvent::Kind::Menu;
      start.item = MenuItem::N1Playerstart1;
      options_.script.insert(options_.script.begin(), start);
    }
  }
  std::stable_sort(options_.snapshots.begin(), options_.snapshots.end(),
                   [](const Snapshot& a, const Snapshot& b) { return a.time < b.time; });
  host_.AddEvents(options_.script);
}

std::string Simulator::Run() {
  if (replayGame_) {
    replayGame_->Play();
  } else {
    host_.Run();
  }
  TakeSnapshots(host_.now() + 1);  // those due at the very end
  missed_.assign(options_.snapshots.begin() + static_cast<std::ptrdiff_t>(nextSnapshot_),
                 options_.snapshots.end());
  std::string final = FinalJson(host_.now(), world_->state, *table_);
  if (options_.trace != nullptr) *options_.trace << final << '\n';
  return final;
}

bool Simulator::EndedAsRecorded() const {
  const Replay& recorded = *options_.replay;
  for (int p = 1; p <= recorded.players; ++p)
    if (world_->state.Score[p] != recorded.finalScores[p] ||
        world_->state.RoundNo[p] != recorded.finalRounds[p])
      return false;
  return true;
}

void Simulator::SetKey(int vk, bool down) {
  if (down) {
    host_.keys.Press(vk);
  } else {
    host_.keys.Release(vk);
  }
  if (options_.keyRecord == nullptr) return;
  // A scripted key takes effect at the first message processing at or after
  // its time. Keys chosen after a frame's work must not reach that frame, and
  // the processing at the frame's own start time came before it: such keys
  // are recorded one millisecond later.
  const std::uint32_t at = host_.now() + (steering_ ? 1 : 0);
  *options_.keyRecord << at << " key " << vk << (down ? " down\n" : " up\n");
}

void Simulator::TakeSnapshots(std::uint32_t before) {
  while (nextSnapshot_ < options_.snapshots.size() &&
         options_.snapshots[nextSnapshot_].time < before) {
    WritePngFile(options_.snapshots[nextSnapshot_].path, world_->field);
    ++nextSnapshot_;
  }
}

void Simulator::FramePlayed(FramePhase phase, std::uint32_t frameStart, std::int32_t penalty) {
  ++frames_;
  host_.Progressed();
  if (trace_) trace_->Frame(phase, frameStart, penalty);
  if (autopilot_) {
    steering_ = true;
    autopilot_->Steer();
    steering_ = false;
  }
  if (onFrame) onFrame(phase);
}

void Simulator::MessageDrawn(const std::string& first, const std::string& second) {
  if (trace_) trace_->Message(first, second);
}

void Simulator::FieldRestored() {
  if (trace_) trace_->Restore();
}

void Simulator::CaptionSet(const std::string& text) {
  if (trace_) trace_->Caption(text);
}

void Simulator::SoundPlayed(Effect effect) {
  if (trace_) trace_->Sound(effect);
}

void Simulator::MenuChanged() {
  if (trace_) trace_->Menu();
}

void Simulator::Prompted(const std::string& prompt, const std::string* answer) {
  if (trace_) trace_->Prompt(prompt, answer);
}

void Simulator::HiScoresShown() {
  if (trace_) trace_->HiScores();
}

void Simulator::MessagesProcessing() {
  if (autopilot_) autopilot_->Tend(flow_->GameRunning());
}

void Simulator::ClockAdvancing(std::uint32_t /*from*/, std::uint32_t to) {
  TakeSnapshots(to);
}

}  // namespace kelvarok::sim
