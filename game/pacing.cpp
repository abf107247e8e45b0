// Every wait of the flow. Each keeps the window's messages flowing, and none
// spins: it sleeps in the host until the next message or its deadline, so a
// running or paused game no longer burns a whole processor core.
#include "game/flow_timing.h"
#include "game/game_flow.h"

namespace kelvarok {

void GameFlow::WaitWhilePaused() {
  // A pause chosen during a wait that does not look at it (the intro, the
  // bonus title and warm-up) may have had its text wiped since: a paused
  // game always says so.
  if (!Paused()) return;
  if (!pauseOnField_) DrawPause();
  NoteWait(FlowWait::Paused);
  while (Paused()) host_.WaitForMessages(kConditionPollMs);
}

void GameFlow::PaceFrame(std::uint32_t frameStart) {
  // Messages are handled at least once per frame, however long it took; a
  // late frame runs late and the next one counts its 40 ms from its own start.
  // The unsigned difference survives the wrap of the millisecond counter.
  NoteWait(FlowWait::Frame);
  host_.ProcessMessages();
  for (;;) {
    const std::uint32_t elapsed = host_.clock().timeGetTime() - frameStart;
    if (elapsed >= kFrameMs) return;
    host_.WaitForMessages(kFrameMs - elapsed);
  }
}

void GameFlow::WaitTime(std::uint32_t ms) {
  // Ends once the clock is past begin + ms, so it lasts a little over ms.
  NoteWait(FlowWait::Time);
  const std::uint32_t begin = host_.clock().timeGetTime();
  for (;;) {
    const std::uint32_t elapsed = host_.clock().timeGetTime() - begin;
    if (elapsed > ms) return;
    host_.WaitForMessages(ms - elapsed + 1);
  }
}

void GameFlow::WaitForGameKeysUp() {
  const GameSettings& keys = world_.settings();
  const auto anyDown = [&] {
    for (const int vk :
         {keys.FireKey, keys.ThrustKey, keys.HyperSpaceKey, keys.LeftKey, keys.RightKey})
      if (KeyDown(host_.Keys(), vk)) return true;
    return false;
  };
  NoteWait(FlowWait::KeysUp);
  host_.ProcessMessages();
  while (anyDown()) host_.WaitForMessages(kConditionPollMs);
}

void GameFlow::WaitForEnter() {
  NoteWait(FlowWait::Enter);
  host_.ProcessMessages();
  while (!KeyDown(host_.Keys(), VK_RETURN)) host_.WaitForMessages(kConditionPollMs);
}

std::uint32_t GameFlow::BeginFrame() {
  const std::uint32_t frameStart = host_.clock().timeGetTime();
  if (observer_ != nullptr) observer_->FrameStarted();
  if (inputListener_ != nullptr) inputListener_->FrameStarting(world_);
  return frameStart;
}

void GameFlow::EndFrame(FramePhase phase, std::uint32_t frameStart) {
  pauseOnField_ = false;  // the frame has drawn over the field
  if (observer_ != nullptr) observer_->FramePlayed(phase, frameStart, penaltyClock_);
  PaceFrame(frameStart);
}

}  // namespace kelvarok
