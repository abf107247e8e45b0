// Replacing a file whole: the new contents go to a temporary file beside it,
// every write and the flush to disk are checked, and only then does a rename
// put the new file in the old one's place.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace kelvarok {

// Makes the file's directory if needed. Returns false, with the old file
// untouched and no temporary file left, when any step fails: a full disk, a
// file size limit (with SIGXFSZ ignored), a read-only directory, an old file
// that is not a regular file. A symbolic link stays a link: the file it
// points to is replaced. Temporary files of this file that a process killed
// while replacing it left behind are removed first.
bool ReplaceFileContents(const QString& path, const QByteArray& contents);

// Removes from directory the temporary files "NAME.PID.new" of every NAME
// that isOurs accepts whose process PID no longer runs: what a replacement
// cut short by SIGKILL or a power cut leaves.
void RemoveLeftoverTemporaries(const QString& directory,
                               const std::function<bool(const QString&)>& isOurs);

}  // namespace kelvarok
