#include "app/status_bar_widget.h"

#include <QHBoxLayout>

#include "app/dialogs/bevel_label.h"
#include "qt/text/embedded_fonts.h"

namespace kelvarok {
namespace {

struct PanelDesign {
  const char* name;
  const char* caption;
  int width;  // 0: takes the rest
  int fontPixels;
  bool bold;
  Pixel colour;
};
constexpr std::array<PanelDesign, 5> kPanels{{
    {"P1Panel", "Player 1", 104, 15, true, kNavy},
    {"P1Score", "0", 112, 23, false, kPurple},
    {"ShipPanel", "^^^", 0, 33, false, kMaroon},
    {"P2Score", "0", 112, 23, false, kPurple},
    {"P2Panel", "Player 2", 104, 15, true, kNavy},
}};

}  // namespace

StatusBarWidget::StatusBarWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("Panel1");
  setFixedHeight(kHeight);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  for (std::size_t i = 0; i < kPanels.size(); ++i) {
    const PanelDesign& design = kPanels[i];
    // The bold plates use OCR-A's own bold face, never a synthesised one.
    QLabel* label = MakeBevelLabel(design.caption, StatusFont(design.fontPixels, design.bold),
                                   QColor::fromRgb(design.colour), Qt::AlignCenter, this);
    label->setObjectName(design.name);
    if (design.width > 0) label->setFixedWidth(design.width);
    row->addWidget(label, design.width > 0 ? 0 : 1);
    panels_[i] = label;
  }
}

void StatusBarWidget::SetCaption(StatusPanel panel, const QString& text) {
  Panel(panel).setText(text);
}

StatusBarWidget::Look StatusBarWidget::CurrentLook() const {
  Look look;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    look.captions[i] = panels_[i]->text();
    look.palettes[i] = panels_[i]->palette();
  }
  return look;
}

void StatusBarWidget::ShowLook(const Look& look) {
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i]->setText(look.captions[i]);
    panels_[i]->setPalette(look.palettes[i]);
  }
}

void StatusBarWidget::SetFontColour(StatusPanel panel, Pixel colour) {
  SetTextColour(Panel(panel), QColor::fromRgb(colour));
}

}  // namespace kelvarok
