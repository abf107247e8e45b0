// "High Scores": the ten places of the table, shown modally.
#pragma once

#include <functional>

#include <QLabel>
#include <QPushButton>

#include "app/dialogs/fixed_dialog.h"
#include "game/hiscores.h"
#include "game/one_based.h"

namespace kelvarok {

class THSForm final : public FixedDialog {
 public:
  explicit THSForm(QWidget* parent = nullptr);

  // Fills the cells of every place (Latin-1 captions).
  void SetCells(const HiScoreCells& cells);
  // Which places have a recorded game. Such a place's name cell takes the
  // focus; a double-click on its row, or Enter on its name, closes the window
  // with that place chosen.
  void SetWatchable(const std::function<bool(int place)>& watchable);
  // The place chosen at the last close, 0 when none was.
  int ChosenPlace() const { return chosen_; }

  OneBased<QLabel*, kHiScorePlaces> Score{};  // Score1..Score10, right-aligned
  OneBased<QLabel*, kHiScorePlaces> Round{};  // Round1..Round10
  OneBased<QLabel*, kHiScorePlaces> Name{};   // Name1..Name10, left-aligned
  QPushButton* OkButton = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Opens with the Ok button focused.
  void showEvent(QShowEvent* event) override;

 private:
  int PlaceOf(QObject* cell) const;
  OneBased<bool, kHiScorePlaces> watchable_{};
  int chosen_ = 0;
};

}  // namespace kelvarok
