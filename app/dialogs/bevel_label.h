// A caption in a lowered panel, as the status bar and the high-score table
// show their cells.
#pragma once

#include <QColor>
#include <QLabel>

namespace kelvarok {

QLabel* MakeBevelLabel(const QString& text, const QFont& font, const QColor& colour,
                       Qt::Alignment alignment, QWidget* parent);

void SetTextColour(QLabel& label, const QColor& colour);

}  // namespace kelvarok
