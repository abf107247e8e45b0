// Replay files on disk: reading one for the player to watch, writing one
// whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>
#include <variant>

#include "game/replay.h"

namespace kelvarok {

QByteArray ReplayFileBytes(const Replay& replay);

// The recorded game, or the message that says why the file cannot be played.
std::variant<Replay, QString> ReadReplayFile(const QString& path);

// False when the file could not be written whole; an older file stays.
bool WriteReplayFile(const QString& path, const Replay& replay);

}  // namespace kelvarok
