// The game flow: one- and two-player sessions run inside the menu command that
// starts them, the lives and 40 ms frames of the round loop, pause and focus,
// the round transitions, the bonus round, the status bar, the field messages
// and the high-score entry. Everything reaches the window through FlowHost.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "game/flow_host.h"
#include "game/game_world.h"
#include "game/hiscores.h"
#include "game/replay.h"

namespace kelvarok {

// The loops in which the flow plays frames.
enum class FramePhase { Play, Crash, Warmup, Bonus };

// "play", "crash", "warmup" or "bonus", as traces and frame logs write it.
const char* FramePhaseName(FramePhase phase);

// Watches the flow from outside (the simulator's trace and autopilot). Every
// call comes from inside the flow, on its thread.
class FlowObserver {
 public:
  virtual ~FlowObserver() = default;
  // As a frame begins, just after the flow read its start from the clock.
  virtual void FrameStarted() {}
  // After the work of every frame, just before it waits out its 40 ms;
  // frameStart is the clock at which the frame began, penaltyClock the life's
  // penalty clock.
  virtual void FramePlayed(FramePhase phase, std::uint32_t frameStart,
                           std::int32_t penaltyClock) = 0;
  // After a message was written onto the field.
  virtual void MessageDrawn(const std::string& first, const std::string& second) = 0;
  // After the whole field was copied from the clean background.
  virtual void FieldRestored() = 0;
};

// The flow's waits, in which the window's messages reach it: the rest of a
// frame's 40 ms, a wait of fixed length, a pause, the wait for the game keys
// to be let go, the wait for Enter, a name prompt and the high-score window.
enum class FlowWait { Frame, Time, Paused, KeysUp, Enter, NamePrompt, HiScores };

// Hears of each game the flow plays and of everything it reads while it runs
// (the replay recorder, and the player that checks a replay against the
// game). Every call comes from inside the flow, on its thread.
class FlowInputListener {
 public:
  virtual ~FlowInputListener() = default;
  // As a game begins, before anything of it is read or drawn: the world as
  // the previous game left it.
  virtual void GameStarting(std::int32_t players, const GameWorld& world,
                            const HiScoreTable& hiscores) = 0;
  // As one of the flow's waits begins; the commands and focus changes that
  // arrive until the next one begins take effect in it.
  virtual void WaitBegins(FlowWait /*wait*/) {}
  // As a frame of the game begins, before its work.
  virtual void FrameStarting(const GameWorld& /*world*/) {}
  // A command or focus change, as it reaches the running game.
  virtual void InputArrived(FlowInput input) = 0;
  // As the game is over, its high-score entries made.
  virtual void GameFinished(const GameState& state, const HiScoreTable& hiscores) = 0;
};

class GameFlow {
 public:
  // baseCaption is the main window's designed caption ("Kelvarok 2.10").
  GameFlow(GameWorld& world, FlowHost& host, HiScoreTable& hiscores, std::string baseCaption);

  // Menu commands. The start commands return when the session is over.
  void N1Playerstart1Click();
  void N2Playerstart1Click();
  void Pause1Click();
  void Quitgame1Click();
  void Highscores1Click();
  void Exit1Click();
  // Any attempt to close the main window: the pause is lifted and a running
  // game is told to end after its current frame, then restOfClose runs the
  // window's part (saving the settings) and says whether the window may close.
  // When it may, no dialog of that game appears any more; when it may not, the
  // flow is left exactly as it was before the attempt. Returns restOfClose's
  // answer.
  bool FormCloseQuery(const std::function<bool()>& restOfClose);
  // The application gains or loses the input focus.
  void AppOnActivate();
  void AppOnDeactivate();
  // The help window opens inside the program, where a running game would go
  // on unseen: a game that can be paused and is not yet pauses.
  void HelpShown();

  bool GameRunning() const { return running_; }
  // The game is paused exactly while the Pause item is checked.
  bool Paused() const { return menu_.Checked(MenuItem::Pause1); }
  // The Game menu as the flow has set it.
  const GameMenu& Menu() const { return menu_; }
  const std::string& BaseCaption() const { return baseCaption_; }

  // At most one observer; nullptr removes it.
  void SetObserver(FlowObserver* observer) { observer_ = observer; }
  // At most one input listener; nullptr removes it.
  void SetInputListener(FlowInputListener* listener) { inputListener_ = listener; }

 private:
  // --- Session and round loop (game_flow.cpp, round_loop.cpp) -------------
  void PlayGame(std::int32_t players);
  void RoundLoop();
  void SetUpPlayers();
  void PlayLife();
  void PlayRoundFrame();
  void CountDownShield();
  void LoseShip();
  void SetPaused(bool paused) { menu_.SetChecked(MenuItem::Pause1, paused); }
  void TogglePause();
  // Tells the input listener of an input that reaches a running game.
  void NoteInput(FlowInput input);
  // Tells the input listener that one of the flow's waits begins.
  void NoteWait(FlowWait wait);
  void ShowPause();
  void DrawPause();

  // --- Waiting without spinning (pacing.cpp) ---------------------------------
  void WaitWhilePaused();
  void PaceFrame(std::uint32_t frameStart);
  void WaitTime(std::uint32_t ms);
  void WaitForGameKeysUp();
  void WaitForEnter();
  // Reports the frame to the observer, then waits out its 40 ms.
  // Starts a frame: its start on the clock, which the observer hears of.
  std::uint32_t BeginFrame();
  void EndFrame(FramePhase phase, std::uint32_t frameStart);

  // --- Between the frames (round_setup.cpp, life_transitions.cpp,
  //     bonus_round.cpp) -------------------------------------------------------
  void SetupRound();
  void LifeIntro();
  void TurnPrompt();
  void CrashSequence();
  void BonusRound();
  void BonusWarmUp();
  void FlyBonusRocks(int rocks);

  // --- What the player sees (status_bar_update.cpp, field_messages.cpp) -------
  void UpdateStatusBar();
  void DrawMessage(const std::string& first, const std::string& second);
  void RestoreField();

  // --- High-score entry (hiscore_entry.cpp) -----------------------------------
  void EnterHighScores();
  void ShowHighScoreTable();

  GameWorld& world_;
  GameState& state_;
  FlowHost& host_;
  GameMenu menu_;
  HiScoreTable& hiscores_;
  const std::string baseCaption_;
  FlowObserver* observer_ = nullptr;
  FlowInputListener* inputListener_ = nullptr;
  std::int32_t penaltyClock_ = 0;  // milliseconds, per life
  bool running_ = false;
  bool closing_ = false;
  // The "Pause" text stands untouched on the field: nothing was drawn,
  // erased or restored since it was written.
  bool pauseOnField_ = false;
};

}  // namespace kelvarok
