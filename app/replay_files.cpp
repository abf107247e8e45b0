#include "app/replay_files.h"

#include <QFile>
#include <span>

#include "app/file_replacement.h"
#include "game/replay_file.h"
#include "platform/regular_file.h"

namespace kelvarok {

QByteArray ReplayFileBytes(const Replay& replay) {
  const std::vector<std::uint8_t> bytes = EncodeReplay(replay);
  return {reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())};
}

std::variant<Replay, QString> ReadReplayFile(const QString& path) {
  const std::string name = QFile::encodeName(path).toStdString();
  const auto read = ReadRegularFile(name, kLargestReplayFile);
  if (const auto* refusal = std::get_if<FileRefusal>(&read))
    return QString::fromLocal8Bit(CannotReadMessage(name, *refusal).c_str());
  const std::string& bytes = std::get<std::string>(read);
  try {
    return DecodeReplay(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  } catch (const ReplayFileError& error) {
    return QString("%1: %2").arg(path, error.what());
  }
}

bool WriteReplayFile(const QString& path, const Replay& replay) {
  return ReplaceFileContents(path, ReplayFileBytes(replay));
}

}  // namespace kelvarok
