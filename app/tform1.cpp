#include "app/tform1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QVBoxLayout>
#include <cstdio>

#include "app/client_size.h"
#include "app/dialogs/fixed_dialog.h"
#include "app/dialogs/name_prompt.h"
#include "app/dialogs/taboutform.h"
#include "app/dialogs/thsform.h"
#include "app/dialogs/tjsform.h"
#include "app/dialogs/tkbform.h"
#include "app/dialogs/tsoundform.h"
#include "app/help_window.h"
#include "app/window_front.h"
#include "game/field_messages.h"
#include "game/flow_texts.h"
#include "kelvarok_version.h"
#include "qt/text/embedded_fonts.h"
#include "qt/text/latin1_text.h"

namespace kelvarok {
namespace {

// The field font needs the embedded fonts registered before it is made.
QFont RegisteredFieldFont() {
  RegisterEmbeddedFonts();
  return FieldFont();
}

bool IsKeyEvent(const QEvent& event) {
  return event.type() == QEvent::KeyPress || event.type() == QEvent::KeyRelease ||
         event.type() == QEvent::ShortcutOverride;
}

}  // namespace

TForm1::TForm1(const SpriteSet& sprites, TForm1Options options)
    : options_(std::move(options)),
      sounds_(options_.sounds ? *options_.sounds : silence_),
      clock_(options_.clock ? *options_.clock : steadyClock_),
      wait_(options_.wait ? *options_.wait : eventLoopWait_),
      fieldText_(RegisteredFieldFont(), kYellow),
      settings_(options_.store ? options_.store->Load() : StoredSettings{}),
      sprites_(sprites),
      recorder_(*this, kProgramVersion, [this](Replay replay) { GameRecorded(std::move(replay)); }),
      world_(sprites, settings_.game, recorder_, options_.seed),
      flow_(world_, recorder_, settings_.HiScores, BaseCaptionText()),
      lastGame_(std::move(options_.lastGame)) {
  flow_.SetInputListener(&recorder_);
  BuildWindow();
  ConnectMenu();
  ShowFlowMenu();
  // The secondary windows, each made once for the whole run.
  Help_ = std::make_unique<HelpWindow>(options_.helpFile);
  HSForm_ = std::make_unique<THSForm>(this);
  AboutForm_ = std::make_unique<TAboutForm>(
      Help_->Page(), [](const QUrl& url) { QDesktopServices::openUrl(url); }, this);
  SoundForm_ = std::make_unique<TSoundForm>(
      settings_.game, [this](Effect effect) { SoundEffect(effect); },
      [this] { ApplySoundVolume(); }, this);
  JSForm_ = std::make_unique<TJSForm>(settings_.game, this);
  KBForm_ = std::make_unique<TKBForm>(settings_.game, this);

  ApplyStoredWindowSize();
  ApplySoundVolume();
  qApp->installEventFilter(this);
  if (options_.followFocus) {
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &TForm1::FollowApplicationState);
  }
  sounds_.LoadEffects();
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
}

void TForm1::BuildWindow() {
  setObjectName("Form1");
  setWindowTitle(QString::fromStdString(BaseCaptionText()));
  setFont(DialogFont());
  menu_ = BuildMainMenu(*menuBar());

  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  iBackGround_ = new FieldView(world_.field, client);
  Panel1_ = new StatusBarWidget(client);
  column->addWidget(iBackGround_, 1);
  column->addWidget(Panel1_);
  setCentralWidget(client);

  // F11: borderless full screen; the menu stays as it is.
  auto* fullScreen = new QAction(this);
  fullScreen->setShortcut(Qt::Key_F11);
  connect(fullScreen, &QAction::triggered, this, &TForm1::ToggleFullScreen);
  addAction(fullScreen);
}

void TForm1::ConnectMenu() {
  const auto on = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, handler);
  };
  on(menu_.N1Playerstart1, [this] { StartGame(&GameFlow::N1Playerstart1Click); });
  on(menu_.N2Playerstart1, [this] { StartGame(&GameFlow::N2Playerstart1Click); });
  // Triggering the checkable action flips its check mark itself; the flow's
  // toggle then sets the very same state.
  on(menu_.Pause1, [this] { replay_ ? ReplayPauseClick() : flow_.Pause1Click(); });
  on(menu_.Quitgame1, [this] { replay_ ? replay_->player().Stop() : flow_.Quitgame1Click(); });
  on(menu_.WatchLastGame, [this] {
    if (lastGame_) WatchReplay(*lastGame_);
  });
  on(menu_.Highscores1, [this] { flow_.Highscores1Click(); });
  on(menu_.Exit1, [this] { flow_.Exit1Click(); });
  on(menu_.Keyboard1, [this] { KBForm_->exec(); });
  on(menu_.Joystick1, [this] { JSForm_->exec(); });
  on(menu_.Sound1, &TForm1::Sound1Click);
  on(menu_.Defaultwindowsize1, &TForm1::Defaultwindowsize1Click);
  on(menu_.Contents1, &TForm1::Contents1Click);
  on(menu_.About1, [this] { AboutForm_->exec(); });
}

QSize TForm1::DesignedSize() const {
  return {kFieldWidth, menuBar()->sizeHint().height() + kFieldHeight + StatusBarWidget::kHeight};
}

void TForm1::ApplyStoredWindowSize() {
  const QSize designed = DesignedSize();
  const int width = settings_.FormWidth > 0 ? settings_.FormWidth : designed.width();
  const int height = settings_.FormHeight > 0 ? settings_.FormHeight : designed.height();
  remembered_ = {width, height};
  resize(remembered_);
  CentreOnScreen(*this);
  if (settings_.FormMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm1::StartGame(void (GameFlow::*start)()) {
  (flow_.*start)();
  // A close asked for during the game has saved everything already; the
  // window closes now that the game has returned.
  if (closeAfterGame_) close();
}

void TForm1::Sound1Click() {
  if (!sounds_.SoundAvailable())
    QMessageBox::information(this, QApplication::applicationName(),
                             "No wave output devices available");
  SoundForm_->exec();
}

void TForm1::Defaultwindowsize1Click() {
  // Normal state first, then the client size; once the window manager has
  // applied the size, the window goes to its last normal place, wholly on
  // the screen.
  setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
  defaultSizeAsked_ = true;
  ResizeInPlace(*this, DesignedSize());
}

void TForm1::Contents1Click() {
  flow_.HelpShown();
  // A replay holds still while the help is read, as a game does.
  if (replay_ && !replay_->player().Paused()) ReplayPauseClick();
  if (!Help_->isVisible()) CentreOver(*Help_, *this);
  Help_->ShowContents();
}

void TForm1::BringToFront(const QString& activationToken) {
  // Qt's Wayland and X plugins present the token of the start that asked
  // for this when the window is activated.
  if (!activationToken.isEmpty()) {
    qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());
    qputenv("DESKTOP_STARTUP_ID", activationToken.toLatin1());
  }
  ShowInFront(*this);
  if (activationToken.isEmpty() && QGuiApplication::platformName() == "wayland")
    QApplication::alert(this);
}

void TForm1::ToggleFullScreen() {
  setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void TForm1::ApplySoundVolume() {
  sounds_.ApplySoundVolume(settings_.game.SoundVolume);
}

void TForm1::SoundEffect(Effect effect) {
  sounds_.SoundEffect(effect);
}

void TForm1::SetSoundActivated(bool activated) {
  sounds_.SetActivated(activated);
}

// --- Messages --------------------------------------------------------------

void TForm1::InvalidateField() {
  iBackGround_->update();
}

void TForm1::ProcessMessages() {
  if (messageHook_) messageHook_();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TForm1::WaitForMessages(std::uint32_t timeout_ms) {
  if (messageHook_) messageHook_();
  wait_.WaitForMessages(timeout_ms);
}

// --- Caption, menu, status bar --------------------------------------------

void TForm1::SetCaption(const std::string& text) {
  setWindowTitle(QStringFromLatin1(text));
}

void TForm1::SetMenuEnabled(MenuItem item, bool enabled) {
  menu_.Item(item)->setEnabled(enabled);
  if (item == MenuItem::N1Playerstart1)
    menu_.WatchLastGame->setEnabled(enabled && lastGame_.has_value() && !replay_);
}

void TForm1::SetMenuChecked(MenuItem item, bool checked) {
  menu_.Item(item)->setChecked(checked);
}

void TForm1::SetPanelCaption(StatusPanel panel, const std::string& text) {
  Panel1_->SetCaption(panel, QStringFromLatin1(text));
}

void TForm1::SetPanelFontColour(StatusPanel panel, Pixel colour) {
  Panel1_->SetFontColour(panel, colour);
}

// --- Dialogs of the flow -----------------------------------------------------

bool TForm1::InputQuery(const std::string& caption, const std::string& prompt, std::string& text) {
  if (!options_.askNames) return false;
  QString typed = QStringFromLatin1(text);
  const bool pad = options_.controllerConnected && options_.controllerConnected();
  if (!NamePrompt(this, QStringFromLatin1(caption), QStringFromLatin1(prompt), typed, pad))
    return false;
  text = ToLatin1(typed);
  return true;
}

void TForm1::ShowHighScores(const HiScoreCells& cells) {
  HSForm_->SetCells(cells);
  // A recorded game can be watched from the table only while none is played.
  const bool watching = !flow_.GameRunning() && !replay_ && options_.replayOf;
  HSForm_->SetWatchable([&](int place) {
    return watching && settings_.HiScores[place].Score > 0 &&
           options_.replayOf(settings_.HiScores[place]).has_value();
  });
  HSForm_->exec();
  if (HSForm_->ChosenPlace() != 0) WatchHighScoreGame(HSForm_->ChosenPlace());
}

// --- Replays -----------------------------------------------------------------

void TForm1::GameRecorded(Replay replay) {
  if (options_.gameRecorded) options_.gameRecorded(replay, settings_.HiScores);
  lastGame_ = std::move(replay);
  // The flow has just enabled the start items again.
  menu_.WatchLastGame->setEnabled(!replay_);
}

void TForm1::WatchHighScoreGame(int place) {
  if (std::optional<Replay> replay = options_.replayOf(settings_.HiScores[place]))
    WatchReplay(*replay);
}

void TForm1::WatchReplay(const Replay& replay) {
  if (flow_.GameRunning() || replay_) return;
  ReplayGame game(sprites_, replay, *this, BaseCaptionText() + " - Replay");
  replay_ = &game;
  iBackGround_->Show(game.world().field);
  for (QAction* item : {menu_.N1Playerstart1, menu_.N2Playerstart1, menu_.WatchLastGame})
    item->setEnabled(false);
  menu_.Pause1->setEnabled(true);
  menu_.Pause1->setChecked(false);
  menu_.Quitgame1->setEnabled(true);
  // Whatever ends the replay, the window shows its own game again.
  struct Restore {
    TForm1& window;
    const StatusBarWidget::Look panels = window.Panel1_->CurrentLook();
    ~Restore() {
      window.replay_ = nullptr;
      window.pausedReplayField_.reset();
      window.Panel1_->ShowLook(panels);
      window.iBackGround_->Show(window.world_.field);
      window.SetCaption(BaseCaptionText());
      window.sounds_.SetActivated(window.applicationActive_ || !window.options_.followFocus);
      window.ShowFlowMenu();
      if (window.closeAfterGame_) window.close();
    }
  } restore{*this};
  try {
    game.Play();
  } catch (const ReplayStopped&) {
    // The watcher has seen enough.
  }
}

void TForm1::ReplayPauseClick() {
  const bool paused = !replay_->player().Paused();
  replay_->player().SetPaused(paused);
  menu_.Pause1->setChecked(paused);
  // The replay holds at once (the player waits before the game goes on), so
  // the field under "Pause" is the one to show again when it goes on.
  Bitmap& field = replay_->world().field;
  if (paused) {
    pausedReplayField_ = field;
    const GameState& state = replay_->world().state;
    DrawCentredLines(fieldText_, field, ToPixels(state.FieldW), ToPixels(state.FieldH), kPauseLine,
                     "");
  } else if (pausedReplayField_) {
    field = *pausedReplayField_;
    pausedReplayField_.reset();
  }
  iBackGround_->update();
}

void TForm1::ShowFlowMenu() {
  for (const MenuItem item : {MenuItem::N1Playerstart1, MenuItem::N2Playerstart1, MenuItem::Pause1,
                              MenuItem::Quitgame1, MenuItem::Highscores1, MenuItem::Exit1}) {
    menu_.Item(item)->setEnabled(flow_.Menu().Enabled(item));
    menu_.Item(item)->setChecked(flow_.Menu().Checked(item));
  }
  menu_.WatchLastGame->setEnabled(lastGame_.has_value() && !flow_.GameRunning() && !replay_);
}

// --- Window events -------------------------------------------------------------

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (!IsKeyEvent(*event) || !watched->isWidgetType()) return false;
  if (static_cast<QWidget*>(watched)->window() != this) return false;
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (event->type() == QEvent::KeyPress) keyFeeder_.Press(key);
  if (event->type() == QEvent::KeyRelease) keyFeeder_.Release(key);
  // While a game runs its keys drive nothing else: no focus moves, no
  // buttons, no Alt menu. A swallowed shortcut override stays unaccepted,
  // so the enabled menu shortcuts still match.
  return flow_.GameRunning();
}

void TForm1::changeEvent(QEvent* event) {
  // No key stays down while the window cannot see its release.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) keyFeeder_.ReleaseAll();
  QMainWindow::changeEvent(event);
}

void TForm1::FollowApplicationState(Qt::ApplicationState state) {
  const bool active = state == Qt::ApplicationActive;
  if (active == applicationActive_) return;
  applicationActive_ = active;
  if (active)
    flow_.AppOnActivate();
  else
    flow_.AppOnDeactivate();
  // A replay holds still while nobody watches, as a game would.
  if (!active && replay_ && !replay_->player().Paused()) ReplayPauseClick();
}

bool TForm1::NormalAtRest() const {
  if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized))
    return false;
  // Qt leaves one state before it enters the next (maximised to full screen
  // and back), and the window manager reports the normal state in between
  // with the other state's geometry, which is no size of the player's.
  const QScreen* shown = screen();
  return shown == nullptr || !frameGeometry().contains(shown->availableGeometry());
}

void TForm1::NoteNormalPlace() {
  // A window as wide or as high as the screen may be passing between two
  // states too, framed as for either; and while "Default window size" waits,
  // the window is where the window manager restored it, not where the player
  // had it.
  const QScreen* shown = screen();
  const QRect frame = frameGeometry();
  if (!NormalAtRest() || defaultSizeAsked_ ||
      (shown && (frame.width() >= shown->availableGeometry().width() ||
                 frame.height() >= shown->availableGeometry().height())))
    return;
  normalPlace_ = CurrentPlace();
}

TForm1::Place TForm1::CurrentPlace() const {
  const QRect inside = geometry();
  const QRect frame = frameGeometry();
  return {inside.topLeft(),
          QMargins(inside.left() - frame.left(), inside.top() - frame.top(),
                   frame.right() - inside.right(), frame.bottom() - inside.bottom())};
}

void TForm1::moveEvent(QMoveEvent* event) {
  NoteNormalPlace();
  QMainWindow::moveEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
  // FormResize: the remembered size follows the window while it is normal.
  if (NormalAtRest()) remembered_ = size();
  if (defaultSizeAsked_ && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) &&
      size() == DesignedSize()) {
    // The window manager puts the window back where it was when it was last
    // maximised, which a full screen in between can have made the maximised
    // place: the window goes to its own last normal place.
    // The frame is the one the window had there: the window manager may be
    // framing it anew for the normal state, and Qt's idea of the frame lags.
    defaultSizeAsked_ = false;
    const Place place = normalPlace_.value_or(CurrentPlace());
    const QRect frame = QRect(place.inside, size()).marginsAdded(place.frame);
    setGeometry(WithinScreen(*this, frame).marginsRemoved(place.frame));
  }
  NoteNormalPlace();
  QMainWindow::resizeEvent(event);
}

bool TForm1::FormCloseQuery() {
  return flow_.FormCloseQuery([this] { return SaveAtClose(); });
}

bool TForm1::SaveAtClose() {
  // A sound whose effects could not be loaded has been given up entirely.
  if (sounds_.SoundAvailable()) sounds_.RestoreSystemVolume();
  settings_.FormWidth = remembered_.width();
  settings_.FormHeight = remembered_.height();
  settings_.FormMaximized = windowState().testFlag(Qt::WindowMaximized);
  if (options_.store) {
    if (const auto failed = options_.store->Save(settings_)) {
      ReportSaveFailure(QString("Failed to set data for '%1'").arg(failed->c_str()));
      ApplySoundVolume();  // the window stays, and plays on at the player's volume
      return false;
    }
  }
  Help_->close();
  return true;
}

void TForm1::ReportSaveFailure(const QString& message) {
  if (closingOnSignal_)
    std::fprintf(stderr, "kelvarok: %s\n", qPrintable(message));
  else
    QMessageBox::critical(this, QApplication::applicationName(), message);
}

void TForm1::CloseOnSignal() {
  if (closingOnSignal_) return;  // the first signal's close is under way
  closingOnSignal_ = true;
  EndModalWindows();
  // A close during a game may have saved already; then the window only waits
  // for the game's command to return.
  const bool saved = closeAfterGame_ || FormCloseQuery();
  if (saved) {
    closeAfterGame_ = true;  // saved: the close asks nothing more
    close();                 // at once, or when the running game's command returns
    QCoreApplication::exit(0);
  } else {
    // The window stays open (closing it would ask again), but the program
    // ends all the same: the flow closes as after a save, so a running game
    // ends after its current frame, and then every event loop ends.
    flow_.FormCloseQuery([] { return true; });
    QCoreApplication::exit(1);
  }
}

void TForm1::EndModalWindows() {
  // The topmost first; each one's exec() returns Rejected once control is
  // back in it. Dialogs asked for afterwards find every event loop ended.
  while (QWidget* modal = QApplication::activeModalWidget()) {
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
    if (QApplication::activeModalWidget() == modal) break;  // it refused to go
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closeAfterGame_ && !FormCloseQuery()) {
    event->ignore();  // the window stays open; closing again retries
    return;
  }
  if (flow_.GameRunning() || replay_) {
    // The game's command (or the replay) is still on the stack: the window
    // stays until it has returned, then closes for good.
    if (replay_) replay_->player().Stop();
    closeAfterGame_ = true;
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

}  // namespace kelvarok
