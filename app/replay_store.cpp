#include "app/replay_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <variant>
#include <vector>

#include "app/file_replacement.h"
#include "platform/regular_file.h"

namespace kelvarok {
namespace {

constexpr char kLinksFileName[] = "links.txt";
constexpr QLatin1String kGameSuffix(".kvr");

// Far more games than anyone plays, and far from the end of the numbers: a
// file with a larger number is not one of ours, so that a hand-made
// "9223372036854775807.kvr" cannot leave no number for the next game.
constexpr qint64 kLargestGameNumber = 999'999'999;

// The number of a game's file "<digits>.kvr"; nothing for any other name,
// a name with a path in it above all, and for a number too large to count on.
std::optional<qint64> GameNumber(const QString& fileName) {
  if (!fileName.endsWith(kGameSuffix)) return std::nullopt;
  const QStringView digits = QStringView(fileName).chopped(kGameSuffix.size());
  const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
  if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isDigit)) return std::nullopt;
  bool ok = false;
  const qint64 number = digits.toLongLong(&ok);
  return ok && number <= kLargestGameNumber ? std::optional(number) : std::nullopt;
}

QString InFolder(const QString& folder, const QString& fileName) {
  return QDir(folder).filePath(fileName);
}

struct Game {
  qint64 number;
  QString fileName;
};

// The folder's games, lowest number first.
std::vector<Game> GamesIn(const QString& folder) {
  std::vector<Game> games;
  for (const QString& name : QDir(folder).entryList(QDir::Files)) {
    if (const std::optional<qint64> number = GameNumber(name)) games.push_back({*number, name});
  }
  std::sort(games.begin(), games.end(),
            [](const Game& a, const Game& b) { return a.number < b.number; });
  return games;
}

struct ReplayLink {
  THiScore entry;
  QString fileName;
  friend bool operator==(const ReplayLink&, const ReplayLink&) = default;
};

// A name fits on its line when it holds no line break and is no longer than
// the table keeps names.
bool IsStorableName(const std::string& name) {
  return name.size() <= kMaxNameLength && name.find('\n') == std::string::npos;
}

// "score<TAB>round<TAB>file<TAB>name": the name comes last, so it may hold tabs.
std::optional<ReplayLink> ParseLink(const QByteArray& line) {
  const QList<QByteArray> fields = line.split('\t');
  if (fields.size() < 4) return std::nullopt;
  bool scoreRead = false;
  bool roundRead = false;
  const int score = fields[0].toInt(&scoreRead);
  const int round = fields[1].toInt(&roundRead);
  const QString fileName = QString::fromLatin1(fields[2]);
  const qsizetype nameStart = fields[0].size() + fields[1].size() + fields[2].size() + 3;
  const std::string name = line.mid(nameStart).toStdString();
  if (!scoreRead || !roundRead || !GameNumber(fileName) || !IsStorableName(name))
    return std::nullopt;
  return ReplayLink{{score, round, name}, fileName};
}

QByteArray LinkLine(const ReplayLink& link) {
  return QByteArray::number(link.entry.Score) + '\t' + QByteArray::number(link.entry.Round) + '\t' +
         link.fileName.toLatin1() + '\t' + QByteArray::fromStdString(link.entry.Name) + '\n';
}

void AddUnique(std::vector<ReplayLink>& links, const ReplayLink& link) {
  if (std::find(links.begin(), links.end(), link) == links.end()) links.push_back(link);
}

// The links of the folder's file; lines that do not read as links are left out.
std::vector<ReplayLink> ReadLinks(const QString& folder) {
  const auto read = ReadRegularFile(
      QFile::encodeName(InFolder(folder, kLinksFileName)).toStdString(), kLargestTextFile);
  std::vector<ReplayLink> links;
  if (std::holds_alternative<FileRefusal>(read)) return links;
  for (const QByteArray& line :
       QByteArray::fromStdString(std::get<std::string>(read)).split('\n')) {
    if (const std::optional<ReplayLink> link = ParseLink(line)) AddUnique(links, *link);
  }
  return links;
}

void WriteLinks(const QString& folder, const std::vector<ReplayLink>& links) {
  QByteArray text;
  for (const ReplayLink& link : links) text += LinkLine(link);
  ReplaceFileContents(InFolder(folder, kLinksFileName), text);
}

void AddLinks(const QString& folder, const std::vector<ReplayLink>& additions) {
  const std::vector<ReplayLink> old = ReadLinks(folder);
  std::vector<ReplayLink> links = old;
  for (const ReplayLink& link : additions) {
    if (GameNumber(link.fileName) && IsStorableName(link.entry.Name)) AddUnique(links, link);
  }
  if (links != old) WriteLinks(folder, links);
}

bool InTable(const HiScoreTable& table, const THiScore& entry) {
  for (int i = 1; i <= kHiScorePlaces; ++i) {
    if (table[i] == entry) return true;
  }
  return false;
}

// The entries of after that before does not hold, each counted as often as it
// appears more often in after.
std::vector<THiScore> NewEntries(const HiScoreTable& before, const HiScoreTable& after) {
  std::vector<THiScore> unmatched;
  for (int i = 1; i <= kHiScorePlaces; ++i) unmatched.push_back(before[i]);
  std::vector<THiScore> added;
  for (int i = 1; i <= kHiScorePlaces; ++i) {
    const auto old = std::find(unmatched.begin(), unmatched.end(), after[i]);
    if (old == unmatched.end()) {
      added.push_back(after[i]);
    } else {
      unmatched.erase(old);
    }
  }
  return added;
}

}  // namespace

QString ReplayStore::DefaultFolder() {
  const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
  const QString base =
      QDir::isAbsolutePath(dataHome) ? dataHome : QDir::homePath() + "/.local/share";
  return QDir::cleanPath(base + "/Ombrix/Kelvarok/replays");
}

std::optional<QString> ReplayStore::Save(const QByteArray& replay) const {
  const std::vector<Game> games = GamesIn(folder_);
  const qint64 highest = games.empty() ? 0 : games.back().number;
  if (highest == kLargestGameNumber) return std::nullopt;
  RemoveLeftoverTemporaries(folder_, [](const QString& name) {
    return GameNumber(name) || name == QLatin1String(kLinksFileName);
  });
  const QString path = InFolder(folder_, QString::number(highest + 1) + kGameSuffix);
  if (!ReplaceFileContents(path, replay)) return std::nullopt;
  return path;
}

void ReplayStore::Link(const THiScore& entry, const QString& replayPath) const {
  AddLinks(folder_, {{entry, QFileInfo(replayPath).fileName()}});
}

std::optional<QString> ReplayStore::Find(const THiScore& entry) const {
  for (const ReplayLink& link : ReadLinks(folder_)) {
    const QString path = InFolder(folder_, link.fileName);
    if (link.entry == entry && QFileInfo(path).isFile()) return path;
  }
  return std::nullopt;
}

std::optional<QString> ReplayStore::Last() const {
  const std::vector<Game> games = GamesIn(folder_);
  if (games.empty()) return std::nullopt;
  return InFolder(folder_, games.back().fileName);
}

void ReplayStore::Prune(const HiScoreTable& table) const {
  const std::vector<ReplayLink> links = ReadLinks(folder_);
  std::vector<ReplayLink> kept;
  std::copy_if(links.begin(), links.end(), std::back_inserter(kept),
               [&](const ReplayLink& link) { return InTable(table, link.entry); });

  const std::vector<Game> games = GamesIn(folder_);
  const std::size_t recent = static_cast<std::size_t>(kRecentGames);
  const std::size_t firstRecent = games.size() > recent ? games.size() - recent : 0;
  for (std::size_t i = 0; i < firstRecent; ++i) {
    const auto linked = [&](const ReplayLink& link) { return link.fileName == games[i].fileName; };
    if (std::none_of(kept.begin(), kept.end(), linked))
      QFile::remove(InFolder(folder_, games[i].fileName));
  }

  std::erase_if(kept, [&](const ReplayLink& link) {
    return !QFileInfo(InFolder(folder_, link.fileName)).isFile();
  });
  if (kept != links) WriteLinks(folder_, kept);
}

std::optional<QString> ReplayStore::Keep(const QByteArray& replay, const HiScoreTable& before,
                                         const HiScoreTable& after) const {
  const std::optional<QString> path = Save(replay);
  if (path) {
    std::vector<ReplayLink> links;
    for (const THiScore& entry : NewEntries(before, after))
      links.push_back({entry, QFileInfo(*path).fileName()});
    AddLinks(folder_, links);
  }
  Prune(after);
  return path;
}

}  // namespace kelvarok
