// A caption in a lowered panel, as the status bar and the high-score table
// show their cells.
#pragma once

#include <QColor>
#include <QLabel>

namespace kelvarok {

QLabel* MakeBevelLabel(const QString& text, const QFont& font, const QColor& colour,
                       Qt::Alignment alignment, QWidget* parent);

void SetTextColour(QLabel& label, const QColor& colour);

// Shows text in font, a pixel smaller at a time until it fits the cell
// whole (down to 6 pixels). The measure allows for a scaled screen, where
// each glyph may be drawn up to half a screen pixel further right.
void SetFittingText(QLabel& label, const QString& text, QFont font);

}  // namespace kelvarok
