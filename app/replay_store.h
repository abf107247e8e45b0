// The folder of recorded games: one file "<n>.kvr" per finished game,
// numbered upwards, and "links.txt" beside them, which ties high-score
// entries to the games that made them. The 20 most recent games and those of
// the table's entries stay; every other game is removed.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "game/hiscores.h"

namespace kelvarok {

class ReplayStore {
 public:
  // The games that have been kept even when no entry of the table links them.
  static constexpr int kRecentGames = 20;

  // The store in folder, which is made by the first save.
  explicit ReplayStore(QString folder) : folder_(std::move(folder)) {}
  // The user's folder: "Ombrix/Kelvarok/replays" under $XDG_DATA_HOME, or
  // under ~/.local/share when that is unset, empty or not absolute.
  static QString DefaultFolder();

  // Writes the game as a new file numbered one above the highest there.
  // Returns its path, or nothing when it could not be written whole.
  std::optional<QString> Save(const QByteArray& replay) const;

  // Ties the entry to the game at replayPath, a path Save returned. An entry
  // whose name cannot be stored on one line (a line break, over 20
  // characters) stays unlinked.
  void Link(const THiScore& entry, const QString& replayPath) const;

  // The path of a game linked to the entry that still exists.
  std::optional<QString> Find(const THiScore& entry) const;

  // The path of the most recently saved game that still exists.
  std::optional<QString> Last() const;

  // Removes every game that is neither among the most recent nor linked to an
  // entry of the table, and every link whose entry left the table or whose
  // game is gone. Files other than games and links are never touched.
  void Prune(const HiScoreTable& table) const;

  // What a finished game keeps: the game is saved, linked to every entry it
  // brought into the table (a second entry equal to an old one counts as
  // new), and the folder is pruned to the new table. Returns the saved path.
  std::optional<QString> Keep(const QByteArray& replay, const HiScoreTable& before,
                              const HiScoreTable& after) const;

  const QString& folder() const { return folder_; }

 private:
  QString folder_;
};

}  // namespace kelvarok
