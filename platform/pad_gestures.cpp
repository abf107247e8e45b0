#include "platform/pad_gestures.h"

#include <cstdlib>

namespace kelvarok {
namespace {

constexpr int kFirstDirection = static_cast<int>(PadButton::Up);

bool IsDirection(PadButton button) {
  return static_cast<int>(button) >= kFirstDirection;
}

PadButton DirectionButton(int direction) {
  return static_cast<PadButton>(kFirstDirection + direction);
}

std::uint32_t Bit(PadButton button) {
  return 1u << static_cast<int>(button);
}

// Whether a moment has come on a clock that wraps.
bool Reached(std::uint32_t now, std::uint32_t moment) {
  return static_cast<std::int32_t>(now - moment) >= 0;
}

// How far the stick points the way of a direction (Up, Down, Left, Right).
int Towards(int direction, int x, int y) {
  switch (DirectionButton(direction)) {
    case PadButton::Up:
      return -y;
    case PadButton::Down:
      return y;
    case PadButton::Left:
      return -x;
    default:
      return x;
  }
}

// The direction of the stick's farther axis, or -1 inside the dead zone; a
// direction already taken is kept while the stick stays past kStickRelease
// and no farther the other way.
int StickDirection(int current, int x, int y) {
  const int ax = std::abs(x), ay = std::abs(y);
  if (current >= 0) {
    const int along = Towards(current, x, y);
    const bool horizontal = DirectionButton(current) >= PadButton::Left;
    const int across = horizontal ? ay : ax;
    if (along > PadGestures::kStickRelease &&
        (across <= PadGestures::kStickPress || across <= along))
      return current;
  }
  if (ax <= PadGestures::kStickPress && ay <= PadGestures::kStickPress) return -1;
  const PadButton way = ax > ay ? (x < 0 ? PadButton::Left : PadButton::Right)
                                : (y < 0 ? PadButton::Up : PadButton::Down);
  return static_cast<int>(way) - kFirstDirection;
}

}  // namespace

std::vector<PadGesture> PadGestures::Feed(const PadInput& input, std::uint32_t now) {
  std::vector<PadGesture> out;
  const std::int32_t id = input.controller;
  if (input.kind == PadInput::Kind::Removed) {
    const auto found = controllers_.find(id);
    if (found == controllers_.end()) return out;
    for (int b = 0; b < kFirstDirection; ++b) {
      if (found->second.down & (1u << b))
        out.push_back({PadGesture::Kind::Up, static_cast<PadButton>(b), id});
    }
    controllers_.erase(found);
    return out;
  }
  Controller& pad = controllers_[id];
  switch (input.kind) {
    case PadInput::Kind::ButtonDown:
      ButtonDown(pad, id, input.button, now, out);
      break;
    case PadInput::Kind::ButtonUp:
      ButtonUp(pad, id, input.button, out);
      break;
    default:
      (input.axis == PadAxis::LeftX ? pad.x : pad.y) = input.value;
      StickMoved(pad, id, now, out);
      break;
  }
  return out;
}

void PadGestures::ButtonDown(Controller& pad, std::int32_t id, PadButton button, std::uint32_t now,
                             std::vector<PadGesture>& out) {
  if (IsDirection(button)) {
    HoldDirection(pad, id, static_cast<int>(button) - kFirstDirection, &Direction::dpad, true, now,
                  out);
    return;
  }
  if (pad.down & Bit(button)) return;
  pad.down |= Bit(button);
  out.push_back({PadGesture::Kind::Down, button, id});
  if (button != PadButton::Start && button != PadButton::Back) {
    out.push_back({PadGesture::Kind::Press, button, id});
    return;
  }
  const bool start = button == PadButton::Start;
  bool& used = start ? pad.startUsed : pad.backUsed;
  const bool otherDown = pad.down & Bit(start ? PadButton::Back : PadButton::Start);
  const bool otherUsed = start ? pad.backUsed : pad.startUsed;
  used = false;
  if (!start) pad.backSince = now;
  if (otherDown && !otherUsed) {
    pad.startUsed = pad.backUsed = true;
    out.push_back({PadGesture::Kind::Press, PadButton::Guide, id});
  }
}

void PadGestures::ButtonUp(Controller& pad, std::int32_t id, PadButton button,
                           std::vector<PadGesture>& out) {
  if (IsDirection(button)) {
    HoldDirection(pad, id, static_cast<int>(button) - kFirstDirection, &Direction::dpad, false, 0,
                  out);
    return;
  }
  if (!(pad.down & Bit(button))) return;
  pad.down &= ~Bit(button);
  const bool used = button == PadButton::Start  ? pad.startUsed
                    : button == PadButton::Back ? pad.backUsed
                                                : true;
  if (!used) out.push_back({PadGesture::Kind::Press, button, id});
  out.push_back({PadGesture::Kind::Up, button, id});
}

void PadGestures::StickMoved(Controller& pad, std::int32_t id, std::uint32_t now,
                             std::vector<PadGesture>& out) {
  const int direction = StickDirection(pad.stickDirection, pad.x, pad.y);
  if (direction == pad.stickDirection) return;
  if (pad.stickDirection >= 0)
    HoldDirection(pad, id, pad.stickDirection, &Direction::stick, false, now, out);
  pad.stickDirection = direction;
  if (direction >= 0) HoldDirection(pad, id, direction, &Direction::stick, true, now, out);
}

void PadGestures::HoldDirection(Controller& pad, std::int32_t id, int direction,
                                bool Direction::*source, bool held, std::uint32_t now,
                                std::vector<PadGesture>& out) {
  Direction& way = pad.directions[direction];
  const bool wasHeld = way.Held();
  way.*source = held;
  if (wasHeld || !way.Held()) return;
  way.nextRepeat = now + kRepeatDelayMs;
  out.push_back({PadGesture::Kind::Press, DirectionButton(direction), id});
}

std::vector<PadGesture> PadGestures::Advance(std::uint32_t now) {
  std::vector<PadGesture> out;
  for (auto& [id, pad] : controllers_) {
    if ((pad.down & Bit(PadButton::Back)) && !pad.backUsed &&
        Reached(now, pad.backSince + kLongPressMs)) {
      pad.backUsed = true;
      out.push_back({PadGesture::Kind::LongPress, PadButton::Back, id});
    }
    for (int direction = 0; direction < kDirections; ++direction) {
      Direction& way = pad.directions[direction];
      if (!way.Held() || !Reached(now, way.nextRepeat)) continue;
      // A late call repeats once, not once for every interval it missed.
      way.nextRepeat = now + kRepeatIntervalMs;
      out.push_back({PadGesture::Kind::Repeat, DirectionButton(direction), id});
    }
  }
  return out;
}

}  // namespace kelvarok
