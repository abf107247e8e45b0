#include "app/dialogs/bevel_label.h"

namespace kelvarok {

QLabel* MakeBevelLabel(const QString& text, const QFont& font, const QColor& colour,
                       Qt::Alignment alignment, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setLineWidth(1);
  label->setFont(font);
  label->setAlignment(alignment);
  SetTextColour(*label, colour);
  return label;
}

void SetTextColour(QLabel& label, const QColor& colour) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, colour);
  label.setPalette(palette);
}

}  // namespace kelvarok
