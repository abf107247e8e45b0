#include "app/demo_mode.h"

#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "app/tform1.h"

namespace kelvarok {
namespace {

// How long before the screenshot the Game menu opens, so it is drawn.
constexpr int kMenuLeadFrames = 10;

}  // namespace

DemoMode::DemoMode(TForm1& window, DemoOptions options)
    : window_(window),
      options_(std::move(options)),
      autopilot_(window.world(), [&window](int vk, bool down) {
        auto& keys = static_cast<KeyTable&>(window.Keys());
        down ? keys.Press(vk) : keys.Release(vk);
      }) {
  if (!options_.frameLog.isEmpty()) {
    frameLog_.reset(std::fopen(QFile::encodeName(options_.frameLog).constData(), "w"));
    if (!frameLog_) {
      std::fprintf(stderr, "kelvarok: cannot write %s\n", qPrintable(options_.frameLog));
      exitStatus_ = 1;
    }
  }
  window_.flow().SetObserver(this);
  window_.SetMessageHook([this] { autopilot_.Tend(window_.flow().GameRunning()); });
}

DemoMode::~DemoMode() {
  window_.flow().SetObserver(nullptr);
  window_.SetMessageHook(nullptr);
}

void DemoMode::Start() {
  QTimer::singleShot(0, &window_, [this] {
    if (options_.frames == 0) {
      Finish();
      return;
    }
    window_.menu().N1Playerstart1->trigger();
    // The game has ended by itself.
    Finish();
  });
}

void DemoMode::FrameStarted() {
  frameStart_ = std::chrono::steady_clock::now();
}

void DemoMode::FramePlayed(FramePhase phase, std::uint32_t, std::int32_t) {
  if (frameLog_) {
    const auto us =
        std::chrono::duration_cast<std::chrono::microseconds>(frameStart_.time_since_epoch());
    std::fprintf(frameLog_.get(), "%lld %s\n", static_cast<long long>(us.count()),
                 FramePhaseName(phase));
  }
  autopilot_.Steer();
  ++frames_;
  if (options_.pauseAt == frames_) Pause();
  if (options_.focusLossAt == frames_) LoseFocus();
  if (!options_.frames) return;
  if (options_.openMenu && frames_ == std::max(1, *options_.frames - kMenuLeadFrames))
    window_.menuBar()->setActiveAction(window_.menu().Game->menuAction());
  if (frames_ >= *options_.frames) Finish();
}

void DemoMode::Pause() {
  QAction* pause = window_.menu().Pause1;
  pause->trigger();
  // Every demo ends by itself: the pause is lifted again after its time.
  QTimer::singleShot(options_.pauseForMs, &window_, [pause] {
    if (pause->isChecked() && pause->isEnabled()) pause->trigger();
  });
}

void DemoMode::LoseFocus() {
  // As if another window took the focus and gave it back after the pause's
  // time: the game pauses, and the player lifts the pause on coming back.
  window_.flow().AppOnDeactivate();
  QTimer::singleShot(options_.pauseForMs, &window_, [this] {
    window_.flow().AppOnActivate();
    QAction* pause = window_.menu().Pause1;
    if (pause->isChecked() && pause->isEnabled()) pause->trigger();
  });
}

void DemoMode::Finish() {
  if (finished_) return;
  finished_ = true;
  SaveScreenshot();
  window_.menuBar()->setActiveAction(nullptr);
  window_.flow().Exit1Click();
}

void DemoMode::SaveScreenshot() {
  if (options_.screenshot.isEmpty()) return;
  QPixmap shot = window_.grab();
  // An open menu is a window of its own: it is drawn in where it stands.
  QMenu* menu = window_.menu().Game;
  if (menu->isVisible()) {
    QPainter painter(&shot);
    painter.drawPixmap(window_.mapFromGlobal(menu->pos()), menu->grab());
  }
  if (shot.save(options_.screenshot)) return;
  std::fprintf(stderr, "kelvarok: cannot write %s\n", qPrintable(options_.screenshot));
  exitStatus_ = 1;
}

}  // namespace kelvarok
