// The game's texts are 8-bit Latin-1; Qt's are Unicode.
#pragma once

#include <QString>
#include <string>

namespace kelvarok {

inline QString QStringFromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A character outside Latin-1 becomes "?".
inline std::string ToLatin1(const QString& text) {
  return text.toLatin1().toStdString();
}

}  // namespace kelvarok
