#include "app/dialogs/bevel_label.h"

#include <QFontMetricsF>

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

void SetFittingText(QLabel& label, const QString& text, QFont font) {
  constexpr int kSmallestPixels = 6;
  for (int pixels = font.pixelSize();; --pixels) {
    font.setPixelSize(pixels);
    const QFontMetricsF metrics(font);
    // A framed label indents its text by half an "x".
    const qreal needed = metrics.horizontalAdvance('x') / 2 + metrics.horizontalAdvance(text) +
                         0.5 * static_cast<qreal>(text.size());
    if (needed <= label.contentsRect().width() || pixels <= kSmallestPixels) break;
  }
  label.setFont(font);
  label.setText(text);
}

void SetTextColour(QLabel& label, const QColor& colour) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, colour);
  label.setPalette(palette);
}

}  // namespace kelvarok
