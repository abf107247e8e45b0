#include "app/virtual_controller_player.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace kelvarok {

namespace {

// How often the file is looked at for appended lines.
constexpr std::int64_t kLookEveryMs = 50;

QString LineMessage(const QString& path, const ControllerScriptError& error) {
  return QString("%1:%2: %3").arg(path).arg(error.line).arg(QString::fromStdString(error.reason));
}

QString RefusalMessage(const QString& path, const FileRefusal& refusal) {
  return QString::fromStdString(CannotReadMessage(path.toStdString(), refusal));
}

}  // namespace

std::variant<std::unique_ptr<VirtualControllerPlayer>, QString> VirtualControllerPlayer::Start(
    const QString& path) {
  auto opened = AppendedLines::Open(path.toStdString(), kLargestScriptFile);
  if (const auto* refusal = std::get_if<FileRefusal>(&opened))
    return RefusalMessage(path, *refusal);
  AppendedLines& file = std::get<AppendedLines>(opened);
  const auto lines = file.TakeLines();
  if (const auto* refusal = std::get_if<FileRefusal>(&lines)) return RefusalMessage(path, *refusal);
  ControllerScriptParser parser;
  const auto parsed = parser.Parse(std::get<std::string>(lines));
  if (const auto* error = std::get_if<ControllerScriptError>(&parsed))
    return LineMessage(path, *error);
  std::unique_ptr<VirtualControllerPlayer> player(
      new VirtualControllerPlayer(path, std::move(file)));
  player->parser_ = parser;
  if (!player->controller_.plugged())
    std::fprintf(stderr, "kelvarok: the virtual controller could not be plugged in: %s\n",
                 player->controller_.problem().c_str());
  player->clock_.start();
  player->Queue(std::get<std::vector<ControllerEvent>>(parsed));
  player->PlayDue();
  player->ScheduleNext();
  return player;
}

VirtualControllerPlayer::VirtualControllerPlayer(const QString& path, AppendedLines file)
    : path_(path), file_(std::move(file)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &VirtualControllerPlayer::Tick);
}

void VirtualControllerPlayer::Queue(const std::vector<ControllerEvent>& events) {
  // A line that arrives after its time plays at once, but never before the
  // line above it; "+MS" counts from when the line before it plays.
  const std::int64_t now = clock_.elapsed();
  for (const ControllerEvent& event : events) {
    const std::int64_t at =
        event.afterPrevious ? lastMs_ + event.ms : std::max<std::int64_t>(event.ms, lastMs_);
    lastMs_ = std::max(at, now);
    queue_.push_back({lastMs_, event});
  }
}

void VirtualControllerPlayer::Tick() {
  TakeAppendedLines();
  PlayDue();
  ScheduleNext();
}

void VirtualControllerPlayer::TakeAppendedLines() {
  if (!following_) return;
  const auto lines = file_.TakeLines();
  const auto stop = [this](const QString& message) {
    std::fprintf(stderr, "kelvarok: %s; no more lines are played from it\n", qPrintable(message));
    following_ = false;
  };
  if (const auto* refusal = std::get_if<FileRefusal>(&lines))
    return stop(RefusalMessage(path_, *refusal));
  if (std::get<std::string>(lines).empty()) return;
  const auto parsed = parser_.Parse(std::get<std::string>(lines));
  if (const auto* error = std::get_if<ControllerScriptError>(&parsed))
    return stop(LineMessage(path_, *error));
  Queue(std::get<std::vector<ControllerEvent>>(parsed));
}

void VirtualControllerPlayer::PlayDue() {
  const std::int64_t now = clock_.elapsed();
  while (!queue_.empty() && queue_.front().ms <= now) {
    controller_.Apply(queue_.front().event);
    queue_.pop_front();
  }
}

void VirtualControllerPlayer::ScheduleNext() {
  // Asleep until the next line is due, looking at the file now and then.
  const std::int64_t now = clock_.elapsed();
  std::int64_t next = following_ ? now + kLookEveryMs : -1;
  if (!queue_.empty()) next = next < 0 ? queue_.front().ms : std::min(next, queue_.front().ms);
  if (next < 0) return;
  const std::int64_t wait =
      std::clamp<std::int64_t>(next - now, 0, std::numeric_limits<int>::max());
  timer_.start(static_cast<int>(wait));
}

}  // namespace kelvarok
