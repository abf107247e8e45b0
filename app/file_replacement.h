// Replacing a file whole: the new contents go to a temporary file beside it,
// every write and the flush to disk are checked, and only then does a rename
// put the new file in the old one's place.
#pragma once

#include <QByteArray>
#include <QString>

namespace kelvarok {

// Makes the file's directory if needed. Returns false, with the old file
// untouched and no temporary file left, when any step fails: a full disk, a
// file size limit (with SIGXFSZ ignored), a read-only directory.
bool ReplaceFileContents(const QString& path, const QByteArray& contents);

}  // namespace kelvarok
