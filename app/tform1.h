// TForm1: the main window, which is also the playing field. It carries the
// menu, the field picture and the status bar, runs the menu commands, and
// is the host through which the game flow reaches the window.
#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>

#include "app/field_view.h"
#include "app/key_mapping.h"
#include "app/main_menu.h"
#include "app/message_wait.h"
#include "app/settings_store.h"
#include "app/status_bar_widget.h"
#include "game/flow_host.h"
#include "game/game_flow.h"
#include "game/game_world.h"
#include "game/replay_game.h"
#include "game/replay_recorder.h"
#include "qt/text/qt_text_painter.h"
#include "sound/effect_sink.h"

namespace kelvarok {

class HelpWindow;
class TAboutForm;
class THSForm;
class TJSForm;
class TKBForm;
class TSoundForm;

struct TForm1Options {
  // Where settings and the table are loaded from and saved to; nullptr keeps
  // them in memory only (the demo).
  const SettingsStore* store = nullptr;
  std::uint64_t seed = 0;
  // The game's sound; nullptr: none at all, as without a wave output device.
  EffectSink* sounds = nullptr;
  // Whether losing the application focus pauses the game (not in the demo,
  // whose autopilot never lifts a pause).
  bool followFocus = true;
  // Whether the name prompt is asked; when not, every prompt is cancelled.
  bool askNames = true;
  // Whether a game controller is connected, which gives the name prompt its
  // on-screen keyboard; empty: never.
  std::function<bool()> controllerConnected;
  QString helpFile;
  // The joysticks the game polls; nullptr: none is ever plugged in.
  Joystick* joysticks = nullptr;
  // The clock the game runs on and how the window waits for messages;
  // nullptr: the steady clock and Qt's event loop.
  Clock* clock = nullptr;
  MessageWait* wait = nullptr;
  // Hears of every game played to its end, with its recording (which holds
  // the table as the game began) and the table as the game left it.
  std::function<void(const Replay&, const HiScoreTable& after)> gameRecorded;
  // The game "Watch last game" shows until one is played here.
  std::optional<Replay> lastGame;
  // The recording of a high-score entry's game, when there is one.
  std::function<std::optional<Replay>(const THiScore&)> replayOf;
};

class TForm1 final : public QMainWindow, public FlowHost {
 public:
  static constexpr int kFieldWidth = 750;
  static constexpr int kFieldHeight = 450;

  TForm1(const SpriteSet& sprites, TForm1Options options);
  ~TForm1() override;

  // --- FlowHost -----------------------------------------------------------
  // The table the game polls; a game controller holds Enter in it too.
  KeyTable& Keys() override { return keys_; }
  Joystick& Joysticks() override { return options_.joysticks ? *options_.joysticks : noJoysticks_; }
  void InvalidateField() override;
  void SoundEffect(Effect effect) override;
  void ProcessMessages() override;
  void WaitForMessages(std::uint32_t timeout_ms) override;
  Clock& clock() override { return clock_; }
  TextPainter& FieldText() override { return fieldText_; }
  void SetCaption(const std::string& text) override;
  void SetMenuEnabled(MenuItem item, bool enabled) override;
  void SetMenuChecked(MenuItem item, bool checked) override;
  void SetPanelCaption(StatusPanel panel, const std::string& text) override;
  void SetPanelFontColour(StatusPanel panel, Pixel colour) override;
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& text) override;
  void ShowHighScores(const HiScoreCells& cells) override;
  void CloseMainWindow() override { close(); }
  void SetSoundActivated(bool activated) override;

  // Sets the wave output volume from SoundVolume (nothing without a device).
  void ApplySoundVolume();
  // The client size that shows the field at one screen pixel per picture
  // pixel, with the menu bar above it.
  QSize DesignedSize() const;

  // A second copy was started: come to the front, restored if minimised.
  // activationToken (may be empty) lets a Wayland compositor give us the
  // focus; without one the window at least asks for the user's attention.
  void BringToFront(const QString& activationToken = {});

  // The orderly close asked for by a signal: every open modal window ends as
  // Cancel, the close query saves, and the program ends after the current
  // frame whatever the save gave; exit status 0 after a good save, 1 after a
  // failed one, whose message goes to standard error.
  void CloseOnSignal();

  // Plays a recorded game in the window, with its sounds, and returns when it
  // is over or the watcher stopped it (Ctrl+Q); F4 pauses it. Nothing of it
  // reaches the settings or the table. Throws ReplayOutOfStep when the
  // recording does not fit this program's game.
  void WatchReplay(const Replay& replay);
  bool Replaying() const { return replay_ != nullptr; }
  // The field the window shows: its own game's or the replay's.
  const Bitmap& ShownField() const { return iBackGround_->Shown(); }
  // The watcher double-clicked an entry of the high-score window.
  void WatchHighScoreGame(int place);

  // Called whenever the flow lets messages through (the demo's autopilot).
  void SetMessageHook(std::function<void()> hook) { messageHook_ = std::move(hook); }

  GameFlow& flow() { return flow_; }
  GameWorld& world() { return world_; }
  StoredSettings& settings() { return settings_; }
  const MainMenu1& menu() const { return menu_; }
  StatusBarWidget& statusBar1() { return *Panel1_; }
  QSize rememberedSize() const { return remembered_; }

  // The windows made once and shown when needed.
  THSForm& HSForm() { return *HSForm_; }
  TAboutForm& AboutForm() { return *AboutForm_; }
  TSoundForm& SoundForm() { return *SoundForm_; }
  TJSForm& JSForm() { return *JSForm_; }
  TKBForm& KBForm() { return *KBForm_; }
  HelpWindow& Help() { return *Help_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildWindow();
  void ConnectMenu();
  void ApplyStoredWindowSize();
  // Normal, and not only on the way between two other states.
  bool NormalAtRest() const;
  // Keeps the window's place while it is normal and settled.
  // Where the window's inside is, and its frame around it: the inside's
  // place does not depend on whether the window manager has told the size of
  // its frame yet.
  struct Place {
    QPoint inside;
    QMargins frame;
  };
  Place CurrentPlace() const;
  void NoteNormalPlace();
  void StartGame(void (GameFlow::*start)());
  bool FormCloseQuery();
  // The window's part of the close query: volume back, settings saved, help
  // closed. False when the settings could not be saved: the window stays.
  bool SaveAtClose();
  void ReportSaveFailure(const QString& message);
  static void EndModalWindows();
  void Sound1Click();
  void Defaultwindowsize1Click();
  void Contents1Click();
  void ToggleFullScreen();
  void FollowApplicationState(Qt::ApplicationState state);
  void GameRecorded(Replay replay);
  // The menu as the flow has set it, and "Watch last game" as it may be.
  void ShowFlowMenu();
  void ReplayPauseClick();

  TForm1Options options_;
  SilentEffectSink silence_;
  EffectSink& sounds_;
  SteadyClock steadyClock_;
  EventLoopWait eventLoopWait_{steadyClock_};
  Clock& clock_;
  MessageWait& wait_;
  KeyTable keys_;
  KeyFeeder keyFeeder_{keys_};
  ScriptedJoysticks noJoysticks_;  // reports every joystick unplugged
  QtTextPainter fieldText_;
  StoredSettings settings_;
  QSize remembered_;
  const SpriteSet& sprites_;
  ReplayRecorder recorder_;
  GameWorld world_;
  GameFlow flow_;
  std::optional<Replay> lastGame_;
  ReplayGame* replay_ = nullptr;  // the game being watched
  // The replay's field as it stood when the watcher paused it.
  std::optional<Bitmap> pausedReplayField_;

  MainMenu1 menu_;
  FieldView* iBackGround_ = nullptr;
  StatusBarWidget* Panel1_ = nullptr;
  std::unique_ptr<THSForm> HSForm_;
  std::unique_ptr<TAboutForm> AboutForm_;
  std::unique_ptr<TSoundForm> SoundForm_;
  std::unique_ptr<TJSForm> JSForm_;
  std::unique_ptr<TKBForm> KBForm_;
  std::unique_ptr<HelpWindow> Help_;

  std::function<void()> messageHook_;
  bool applicationActive_ = false;
  // The close query has run and saved: the window closes without asking
  // again, when the game's command returns if one is in progress.
  bool closeAfterGame_ = false;
  // The close was asked for by a signal: no more questions to the player.
  bool closingOnSignal_ = false;
  // "Default window size" waits for the window manager to apply the size.
  bool defaultSizeAsked_ = false;
  // Where the window last was while it was normal.
  std::optional<Place> normalPlace_;
};

}  // namespace kelvarok
