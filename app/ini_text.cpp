#include "app/ini_text.h"

#include <QList>

namespace kelvarok {
namespace {

bool IsHexDigit(char16_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

QByteArray EscapedValue(const QString& value) {
  // A text that begins with "@" would be read as a typed value.
  const QString text = value.startsWith('@') ? '@' + value : value;
  QByteArray out;
  bool needsQuotes = text.startsWith(' ') || text.endsWith(' ');
  // After a "\x" escape a hex digit would be read as part of it.
  bool hexEscapeOpen = false;
  for (const QChar qc : text) {
    const char16_t c = qc.unicode();
    if (hexEscapeOpen && IsHexDigit(c)) {
      out += "\\x" + QByteArray::number(c, 16);
      continue;
    }
    hexEscapeOpen = false;
    switch (c) {
      case ';':
      case ',':
      case '=':
        needsQuotes = true;  // list separator and comment character
        out += static_cast<char>(c);
        break;
      case '\\':
      case '"':
        out += '\\';
        out += static_cast<char>(c);
        break;
      case '\a':
        out += "\\a";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\v':
        out += "\\v";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          out += "\\x" + QByteArray::number(c, 16);
          hexEscapeOpen = true;
        } else {
          out += QString(qc).toUtf8();
        }
    }
  }
  return needsQuotes ? '"' + out + '"' : out;
}

// The key of a "key=value" line, in lower case, or nothing for another line.
QString KeyOf(const QByteArray& line) {
  const qsizetype equals = line.indexOf('=');
  if (equals < 0) return {};
  return QString::fromUtf8(line.left(equals).trimmed()).toLower();
}

}  // namespace

QByteArray IniLine(const QString& name, const QString& value) {
  return name.toUtf8() + '=' + EscapedValue(value) + '\n';
}

ForeignIniText ForeignIniTextOf(const QByteArray& oldText, const QSet<QString>& ownNames) {
  ForeignIniText foreign;
  bool inGeneral = true;  // lines before any header belong to [General]
  bool dropping = false;  // the line continues one of our own values
  const QList<QByteArray> lines = oldText.split('\n');
  for (const QByteArray& line : lines) {
    const QByteArray trimmed = line.trimmed();
    const bool continued = dropping;
    dropping = false;
    if (!continued && trimmed.startsWith('[')) {
      // QSettings reads a "[general]" header in any case as [General].
      inGeneral = trimmed.toLower() == "[general]";
      if (!inGeneral) foreign.sections += '\n' + line + '\n';
      continue;
    }
    if (!inGeneral) {
      if (!trimmed.isEmpty()) foreign.sections += line + '\n';
      continue;
    }
    if (continued || ownNames.contains(KeyOf(trimmed))) {
      dropping = trimmed.endsWith('\\');
      continue;
    }
    if (!trimmed.isEmpty()) foreign.general += line + '\n';
  }
  return foreign;
}

}  // namespace kelvarok
