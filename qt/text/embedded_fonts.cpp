#include "qt/text/embedded_fonts.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QStringList>
#include <cstddef>
#include <cstdint>

namespace kelvarok::embedded {
extern const std::uint8_t font_LiberationSerif_Regular_ttf[];
extern const std::size_t font_LiberationSerif_Regular_ttf_size;
extern const std::uint8_t font_OCRA_ttf[];
extern const std::size_t font_OCRA_ttf_size;
extern const std::uint8_t font_OCRABold_ttf[];
extern const std::size_t font_OCRABold_ttf_size;
extern const std::uint8_t font_ComicNeue_Bold_otf[];
extern const std::size_t font_ComicNeue_Bold_otf_size;
}  // namespace kelvarok::embedded

namespace kelvarok {

namespace {

struct Families {
  QString field;
  QString status;
  QString statusBold;
  QString comic;
};

QString Register(const std::uint8_t* data, std::size_t size) {
  // The data is static, so a raw view of it lives as long as the program.
  const int id = QFontDatabase::addApplicationFontFromData(
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  return families.isEmpty() ? QString() : families.first();
}

const Families& Registered() {
  static const Families families = [] {
    using namespace embedded;
    Families f;
    f.field = Register(font_LiberationSerif_Regular_ttf, font_LiberationSerif_Regular_ttf_size);
    f.status = Register(font_OCRA_ttf, font_OCRA_ttf_size);
    f.statusBold = Register(font_OCRABold_ttf, font_OCRABold_ttf_size);
    f.comic = Register(font_ComicNeue_Bold_otf, font_ComicNeue_Bold_otf_size);
    return f;
  }();
  return families;
}

}  // namespace

void RegisterEmbeddedFonts() {
  Registered();
}
QString FieldFontFamily() {
  return Registered().field;
}
QString StatusFontFamily() {
  return Registered().status;
}
QFont StatusFont(int pixelSize, bool bold) {
  QFont font(bold ? Registered().statusBold : Registered().status);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}
QFont ComicFont(int pixelSize) {
  QFont font(Registered().comic);
  font.setPixelSize(pixelSize);
  font.setBold(true);
  return font;
}

}  // namespace kelvarok
