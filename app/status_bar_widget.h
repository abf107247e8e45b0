// Panel1: the status bar of five lowered panels along the bottom of the main
// window: P1Panel, P1Score, ShipPanel, P2Score, P2Panel.
#pragma once

#include <QLabel>
#include <QWidget>
#include <array>

#include "game/flow_host.h"

namespace kelvarok {

class StatusBarWidget final : public QWidget {
 public:
  static constexpr int kHeight = 33;
  explicit StatusBarWidget(QWidget* parent);

  void SetCaption(StatusPanel panel, const QString& text);
  void SetFontColour(StatusPanel panel, Pixel colour);
  QLabel& Panel(StatusPanel panel) { return *panels_[static_cast<std::size_t>(panel)]; }

  // The captions and colours as they stand, to be shown again after a replay
  // has had the panels.
  struct Look {
    std::array<QString, 5> captions;
    std::array<QPalette, 5> palettes;
  };
  Look CurrentLook() const;
  void ShowLook(const Look& look);

 private:
  std::array<QLabel*, 5> panels_{};
};

}  // namespace kelvarok
