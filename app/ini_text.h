// The settings file's text in QSettings' INI format, written by the program
// itself so that every byte of a save can be checked, and read back by
// QSettings.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace kelvarok {

// One line "name=value" of the [General] section, the value a plain string
// that QSettings reads back exactly (escapes, quotes, a leading "@").
QByteArray IniLine(const QString& name, const QString& value);

// What a save keeps of the file it replaces: everything that is not one of
// the program's own values, whose names (in lower case) are ownNames.
struct ForeignIniText {
  QByteArray general;   // the other lines of the [General] section
  QByteArray sections;  // every other section, header included
};
ForeignIniText ForeignIniTextOf(const QByteArray& oldText, const QSet<QString>& ownNames);

}  // namespace kelvarok
