// The round loop: the set-up of the players, then lives of 40 ms frames until
// the game is over.
#include "game/flow_timing.h"
#include "game/game_flow.h"

namespace kelvarok {

namespace {

constexpr std::int32_t kShipsPerGame = 3;
constexpr std::int32_t kSpawnShieldFrames = 250;
constexpr std::int32_t kPenaltyPeriodMs = 1000;
constexpr std::int32_t kRoundStartWarpFrames = 50;
constexpr std::int32_t kRoundsPerBonus = 3;

}  // namespace

void GameFlow::RoundLoop() {
  SetUpPlayers();
  while (!state_.GameOver) PlayLife();
}

void GameFlow::SetUpPlayers() {
  for (std::int32_t p = 1; p <= state_.NumPlayers; ++p) {
    state_.CurPlayer = p;
    state_.Score[p] = 0;
    host_.SetScoreCaption(p, "0");
    state_.ShipsLeft[p] = kShipsPerGame;
    state_.RoundNo[p] = 1;
    // A game quit during a jump or a round's opening warp must not hand its
    // ship, hidden and unsteerable, to the next game.
    state_.Ships[p].WarpTime = 0;
    SetupRound();
    world_.NewShip();
  }
  state_.CurPlayer = 1;
  state_.BonusMode = false;
  state_.GameOver = false;
}

void GameFlow::PlayLife() {
  UpdateStatusBar();
  world_.ShowScore();
  state_.ShieldTime = kSpawnShieldFrames;
  for (int m = 1; m <= kMissileSlots; ++m) state_.Missiles[m].Life = 0;
  LifeIntro();
  penaltyClock_ = 0;
  state_.ShipHit = false;
  state_.RoundCleared = false;
  // Tested before the first frame: a game stopped during the intro plays none.
  while (!state_.GameOver && !state_.RoundCleared && !state_.ShipHit) PlayRoundFrame();

  if (state_.RoundCleared) {
    // A loss in the same frame (a failed jump) is forgotten.
    if (state_.RoundNo[state_.CurPlayer] % kRoundsPerBonus == 0) BonusRound();
    state_.RoundNo[state_.CurPlayer] += 1;
    state_.CurShip().WarpTime = kRoundStartWarpFrames;
    SetupRound();
  } else if (state_.ShipHit) {
    LoseShip();
  }
}

void GameFlow::LoseShip() {
  CrashSequence();
  state_.ShipsLeft[state_.CurPlayer] -= 1;
  if (state_.NumPlayers == 2) {
    // The turn passes unconditionally; a player without ships ends the game.
    state_.CurPlayer = 3 - state_.CurPlayer;
    if (state_.ShipsLeft[state_.CurPlayer] > 0) TurnPrompt();
  }
  world_.NewShip();
  if (state_.ShipsLeft[state_.CurPlayer] <= 0) state_.GameOver = true;
}

void GameFlow::PlayRoundFrame() {
  WaitWhilePaused();
  const std::uint32_t frameStart = BeginFrame();
  world_.PlayFrame();
  CountDownShield();
  EndFrame(FramePhase::Play, frameStart);
}

void GameFlow::CountDownShield() {
  if (state_.ShieldTime > 0) --state_.ShieldTime;
  if (state_.ShieldTime != 0) return;
  penaltyClock_ += static_cast<std::int32_t>(kFrameMs);
  if (penaltyClock_ >= kPenaltyPeriodMs) {
    penaltyClock_ = 0;
    std::int32_t& score = state_.Score[state_.CurPlayer];
    if (score > 0) --score;
    world_.ShowScore();
  }
}

}  // namespace kelvarok
