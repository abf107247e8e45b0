// Sessions as the menu commands start them, and the commands and focus
// handlers that pause or stop a running game.
#include "game/game_flow.h"

#include "game/flow_texts.h"

namespace kelvarok {

GameFlow::GameFlow(GameWorld& world, FlowHost& host, HiScoreTable& hiscores,
                   std::string baseCaption)
    : world_(world),
      state_(world.state),
      host_(host),
      menu_(host),
      hiscores_(hiscores),
      baseCaption_(std::move(baseCaption)) {}

void GameFlow::N1Playerstart1Click() {
  PlayGame(1);
}
void GameFlow::N2Playerstart1Click() {
  PlayGame(2);
}

void GameFlow::PlayGame(std::int32_t players) {
  if (inputListener_ != nullptr) inputListener_->GameStarting(players, world_, hiscores_);
  state_.NumPlayers = players;
  running_ = true;
  menu_.SetEnabled(MenuItem::N1Playerstart1, false);
  menu_.SetEnabled(MenuItem::N2Playerstart1, false);
  menu_.SetEnabled(MenuItem::Pause1, true);
  menu_.SetEnabled(MenuItem::Quitgame1, true);

  RoundLoop();

  menu_.SetEnabled(MenuItem::Quitgame1, false);
  menu_.SetEnabled(MenuItem::Pause1, false);
  // A pause chosen in the last frames of a game would otherwise stay checked on
  // the disabled item and freeze the next game's first frame.
  SetPaused(false);
  // A closed window gets no more key events, so a held key would never be seen
  // released.
  if (!closing_) WaitForGameKeysUp();
  host_.SetPanelFontColour(StatusPanel::P1Panel, kNavy);
  host_.SetPanelFontColour(StatusPanel::P2Panel, kNavy);
  host_.SetPanelFontColour(StatusPanel::P1Score, kPurple);
  host_.SetPanelFontColour(StatusPanel::P2Score, kPurple);
  RestoreField();
  host_.SetCaption(baseCaption_);
  DrawMessage(kGameOverLine, "");
  EnterHighScores();
  menu_.SetEnabled(MenuItem::N1Playerstart1, true);
  menu_.SetEnabled(MenuItem::N2Playerstart1, true);
  running_ = false;
  if (inputListener_ != nullptr) inputListener_->GameFinished(state_, hiscores_);
}

void GameFlow::NoteInput(FlowInput input) {
  if (running_ && inputListener_ != nullptr) inputListener_->InputArrived(input);
}

void GameFlow::NoteWait(FlowWait wait) {
  if (running_ && inputListener_ != nullptr) inputListener_->WaitBegins(wait);
}

void GameFlow::Pause1Click() {
  NoteInput(FlowInput::Pause1);
  TogglePause();
}

void GameFlow::TogglePause() {
  const bool paused = !Paused();
  SetPaused(paused);
  if (paused) {
    DrawPause();
  } else {
    RestoreField();
  }
}

void GameFlow::ShowPause() {
  SetPaused(true);
  DrawPause();
}

void GameFlow::DrawPause() {
  DrawMessage(kPauseLine, "");
  pauseOnField_ = true;
}

void GameFlow::Quitgame1Click() {
  NoteInput(FlowInput::Quitgame1);
  SetPaused(false);
  state_.GameOver = true;
}

void GameFlow::Exit1Click() {
  NoteInput(FlowInput::Exit1);
  SetPaused(false);
  state_.GameOver = true;
  host_.CloseMainWindow();
}

bool GameFlow::FormCloseQuery(const std::function<bool()>& restOfClose) {
  const bool paused = Paused();
  const bool gameOver = state_.GameOver;
  const bool closing = closing_;
  SetPaused(false);
  state_.GameOver = true;
  closing_ = true;
  if (restOfClose()) {
    NoteInput(FlowInput::CloseAccepted);
    return true;
  }
  NoteInput(FlowInput::CloseRefused);
  // The window stays open: the game goes on, paused if it was, and its
  // name prompts, table window and key-up wait come back.
  SetPaused(paused);
  state_.GameOver = gameOver;
  closing_ = closing;
  return false;
}

void GameFlow::AppOnActivate() {
  NoteInput(FlowInput::Activate);
  host_.SetSoundActivated(true);
}

void GameFlow::AppOnDeactivate() {
  NoteInput(FlowInput::Deactivate);
  host_.SetSoundActivated(false);
  // Outside a game and during a turn prompt the item is disabled: no pause.
  if (menu_.Enabled(MenuItem::Pause1)) ShowPause();
}

void GameFlow::HelpShown() {
  NoteInput(FlowInput::HelpShown);
  if (menu_.Enabled(MenuItem::Pause1) && !Paused()) TogglePause();
}

const char* FramePhaseName(FramePhase phase) {
  switch (phase) {
    case FramePhase::Play:
      return "play";
    case FramePhase::Crash:
      return "crash";
    case FramePhase::Warmup:
      return "warmup";
    case FramePhase::Bonus:
      return "bonus";
  }
  return "";
}

}  // namespace kelvarok
