#include "app/replay_files.h"

#include <QFile>
#include <span>

#include "app/file_replacement.h"
#include "game/replay_file.h"

namespace kelvarok {

QByteArray ReplayFileBytes(const Replay& replay) {
  const std::vector<std::uint8_t> bytes = EncodeReplay(replay);
  return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

std::variant<Replay, QString> ReadReplayFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString("cannot read '%1'").arg(path);
  const QByteArray bytes = file.readAll();
  try {
    return DecodeReplay(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())));
  } catch (const ReplayFileError& error) {
    return QString("%1: %2").arg(path, error.what());
  }
}

bool WriteReplayFile(const QString& path, const Replay& replay) {
  return ReplaceFileContents(path, ReplayFileBytes(replay));
}

}  // namespace kelvarok
