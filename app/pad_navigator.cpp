#include "app/pad_navigator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/dialogs/fixed_dialog.h"
#include "app/pad_dialog_control.h"
#include "app/pad_receiver.h"
#include "app/tform1.h"

namespace kelvarok {
namespace {

void SendKey(QWidget& widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
}

void TriggerIfEnabled(QAction* action) {
  if (action->isEnabled()) action->trigger();
}

}  // namespace

PadNavigator::PadNavigator(TForm1& window, PadInputSource& source)
    : window_(window), source_(source) {
  connect(&timer_, &QTimer::timeout, this, &PadNavigator::Look);
  timer_.start(0);  // the first look tells how often to look
}

void PadNavigator::Look() {
  const int every = source_.ControllerConnected() ? kConnectedLookMs : kIdleLookMs;
  if (timer_.interval() != every) timer_.setInterval(every);
  const std::uint32_t now = window_.clock().timeGetTime();
  std::vector<PadGesture> gestures;
  for (const PadInput& input : source_.TakePadInputs()) {
    for (const PadGesture& gesture : gestures_.Feed(input, now)) gestures.push_back(gesture);
  }
  for (const PadGesture& gesture : gestures_.Advance(now)) gestures.push_back(gesture);
  for (const PadGesture& gesture : gestures) {
    QMetaObject::invokeMethod(
        this, [this, gesture] { Act(gesture); }, Qt::QueuedConnection);
  }
}

void PadNavigator::Act(const PadGesture& gesture) {
  const auto holder = std::make_pair(gesture.controller, gesture.button);
  const bool focused = QGuiApplication::applicationState() == Qt::ApplicationActive;
  switch (gesture.kind) {
    case PadGesture::Kind::Down:
      if (focused && (gesture.button == PadButton::A || gesture.button == PadButton::Start) &&
          AtTurnPrompt()) {
        holdingEnter_.insert(holder);
        window_.Keys().Press(VK_RETURN);
      }
      return;
    case PadGesture::Kind::Up:
      if (holdingEnter_.erase(holder) != 0 && holdingEnter_.empty())
        window_.Keys().Release(VK_RETURN);
      return;
    default:
      // A button that answered the turn prompt has done its work.
      if (focused && !holdingEnter_.contains(holder)) Press(gesture);
      return;
  }
}

void PadNavigator::Press(const PadGesture& gesture) {
  const bool repeat = gesture.kind == PadGesture::Kind::Repeat;
  const bool press = gesture.kind == PadGesture::Kind::Press || repeat;
  QWidget* modal = QApplication::activeModalWidget();
  QWidget* active = modal ? modal : QApplication::activeWindow();
  // A held direction repeats only where it was first pressed: a stick held
  // to steer in a game does not run through a menu or dialog opened
  // meanwhile. Every popup menu counts as one place, the menu bar's.
  if (gesture.button >= PadButton::Up) {
    QWidget* place = QApplication::activePopupWidget() ? window_.menuBar() : active;
    QPointer<QWidget>& pressedIn = directionPressedIn_[{gesture.controller, gesture.button}];
    if (repeat && pressedIn != place) return;
    pressedIn = place;
  }
  if (auto* receiver = dynamic_cast<PadReceiver*>(active);
      press && receiver && receiver->PadPress(gesture.button))
    return;
  if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
    if (press) PressInMenu(*menu, gesture.button);
    return;
  }
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    if (press) PadPressInDialog(*dialog, gesture.button);
    return;
  }
  if (modal == nullptr && active == &window_) PressInMainWindow(gesture);
}

void PadNavigator::PressInMenu(QMenu& menu, PadButton button) {
  switch (button) {
    case PadButton::Up:
      return SendKey(menu, Qt::Key_Up);
    case PadButton::Down:
      return SendKey(menu, Qt::Key_Down);
    case PadButton::Left:
      return SendKey(menu, Qt::Key_Left);
    case PadButton::Right:
      return SendKey(menu, Qt::Key_Right);
    case PadButton::A:
      return SendKey(menu, Qt::Key_Return);
    case PadButton::B:
    case PadButton::Guide:
      menu.close();
      return;
    default:
      return;
  }
}

void PadNavigator::PressInMainWindow(const PadGesture& gesture) {
  const MainMenu1& menu = window_.menu();
  const bool press = gesture.kind == PadGesture::Kind::Press;
  if (press && gesture.button == PadButton::Guide) return OpenGameMenu();
  if (window_.flow().GameRunning() || window_.Replaying()) {
    if (gesture.kind == PadGesture::Kind::LongPress) return TriggerIfEnabled(menu.Quitgame1);
    if (gesture.button == PadButton::Start) TriggerIfEnabled(menu.Pause1);
    return;
  }
  if (!press) return;
  switch (gesture.button) {
    case PadButton::Start:
      return TriggerIfEnabled(menu.N1Playerstart1);
    case PadButton::Back:
      return TriggerIfEnabled(menu.N2Playerstart1);
    case PadButton::X:
      return TriggerIfEnabled(menu.Highscores1);
    case PadButton::Y:
      return TriggerIfEnabled(menu.WatchLastGame);
    default:
      return;
  }
}

void PadNavigator::OpenGameMenu() {
  QMenu& game = *window_.menu().Game;
  window_.menuBar()->setActiveAction(game.menuAction());
  // Its first item lit, as when the menu is opened from the keyboard.
  for (QAction* item : game.actions()) {
    if (item->isEnabled() && !item->isSeparator()) {
      game.setActiveAction(item);
      break;
    }
  }
}

bool PadNavigator::AtTurnPrompt() const {
  // The prompt is the one wait of a running game in which "Pause" is off and
  // "Quit game" on.
  const MainMenu1& menu = window_.menu();
  return window_.flow().GameRunning() && !menu.Pause1->isEnabled() && menu.Quitgame1->isEnabled() &&
         QApplication::activeModalWidget() == nullptr;
}

}  // namespace kelvarok
