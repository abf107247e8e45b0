#include "qt/text/qt_text_painter.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include "qt/text/embedded_fonts.h"
#include "qt/text/latin1_text.h"

namespace kelvarok {

namespace {

constexpr int kFieldFontPixels = 27;

}  // namespace

QFont FieldFont() {
  RegisterEmbeddedFonts();
  QFont font(FieldFontFamily());
  font.setPixelSize(kFieldFontPixels);
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

QtTextPainter::QtTextPainter(const QFont& font, Pixel colour)
    : font_(font),
      metrics_(font),
      colour_(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
              static_cast<int>(colour & 0xFF)) {}

TextExtent QtTextPainter::TextExtentOf(const std::string& text) {
  return {metrics_.horizontalAdvance(QStringFromLatin1(text)), metrics_.height()};
}

void QtTextPainter::TextOut(Bitmap& target, int x, int y, const std::string& text) {
  if (target.empty() || text.empty()) return;
  // A view of the bitmap's own pixels: 0xFFRRGGBB is Qt's RGB32.
  QImage view(reinterpret_cast<uchar*>(target.pixels().data()), target.width(), target.height(),
              target.width() * 4, QImage::Format_RGB32);
  QPainter painter(&view);
  painter.setFont(font_);
  painter.setPen(colour_);
  painter.drawText(x, y + metrics_.ascent(), QStringFromLatin1(text));
}

}  // namespace kelvarok
