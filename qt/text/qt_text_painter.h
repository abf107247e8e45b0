// TextPainter with Qt: measures and draws Latin-1 text onto a Bitmap in one
// font and colour with a clear background, as GDI's TextOut does on the field.
// Needs a QGuiApplication (QT_QPA_PLATFORM=offscreen will do).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>

#include "platform/text_painter.h"

namespace kelvarok {

class QtTextPainter final : public TextPainter {
 public:
  QtTextPainter(const QFont& font, Pixel colour);

  TextExtent TextExtentOf(const std::string& text) override;
  void TextOut(Bitmap& target, int x, int y, const std::string& text) override;

 private:
  QFont font_;
  QFontMetrics metrics_;
  QColor colour_;
};

// The field font: "Times New Roman" 20 pt at 96 dpi is 27 pixels high
// (lfHeight -27); Liberation Serif has its metrics. Drawn without
// antialiasing, like text on the old 256-colour field.
QFont FieldFont();

}  // namespace kelvarok
