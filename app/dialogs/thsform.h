// "High Scores": the ten places of the table, shown modally.
#pragma once

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

  OneBased<QLabel*, kHiScorePlaces> Score{};  // Score1..Score10, right-aligned
  OneBased<QLabel*, kHiScorePlaces> Round{};  // Round1..Round10
  OneBased<QLabel*, kHiScorePlaces> Name{};   // Name1..Name10, left-aligned
  QPushButton* OkButton = nullptr;
};

}  // namespace kelvarok
