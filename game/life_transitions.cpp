// The steps between lives: the intro of every life, the crash of a lost ship
// and the turn prompt of a two-player game.
#include "game/flow_texts.h"
#include "game/flow_timing.h"
#include "game/game_flow.h"

namespace kelvarok {

namespace {

constexpr std::uint32_t kIntroMs = 2000;
constexpr int kCrashFrames = 50;
constexpr std::int32_t kLastDebrisFrame = 17;

}  // namespace

void GameFlow::LifeIntro() {
  const std::int32_t round = state_.RoundNo[state_.CurPlayer];
  RestoreField();
  host_.SetCaption(RoundCaption(baseCaption_, round));
  DrawMessage(PlayerLine(state_.CurPlayer), RoundLine(round));
  WaitTime(kIntroMs);
  RestoreField();
}

void GameFlow::TurnPrompt() {
  menu_.SetEnabled(MenuItem::Pause1, false);
  // Drawn over the field as the crash left it.
  DrawMessage(PlayerLine(state_.CurPlayer), kPressEnterLine);
  WaitForEnter();
  menu_.SetEnabled(MenuItem::Pause1, true);
}

void GameFlow::CrashSequence() {
  RestoreField();  // also wipes the missiles, which are not drawn again
  world_.PlayEffect(Effect::Explosion);
  TShip& ship = state_.CurShip();
  ship.Heading /= 2;  // the 36 headings onto the 18 debris pictures
  for (int frame = 0; frame < kCrashFrames; ++frame) {
    WaitWhilePaused();
    const std::uint32_t frameStart = BeginFrame();
    world_.MoveShip();  // the wreck drifts on
    if (++ship.Heading > kLastDebrisFrame) ship.Heading = 0;
    world_.MoveRocks();
    world_.EraseShip(true);
    world_.EraseRocks();
    world_.DrawRocks();
    world_.DrawShip(true);
    host_.InvalidateField();
    EndFrame(FramePhase::Crash, frameStart);
  }
}

}  // namespace kelvarok
