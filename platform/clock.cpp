#include "platform/clock.h"

#include <chrono>

namespace kelvarok {

namespace {
std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

SteadyClock::SteadyClock() : origin_ns_(NowNs()) {}

std::chrono::steady_clock::time_point SteadyClock::TimeOfReading(std::uint32_t reading) {
  const std::int64_t elapsedMs = (NowNs() - origin_ns_) / 1000000;
  const std::uint32_t ahead = reading - static_cast<std::uint32_t>(elapsedMs);
  const std::int64_t readingNs = origin_ns_ + (elapsedMs + ahead) * 1000000;
  return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(readingNs));
}

std::uint32_t SteadyClock::timeGetTime() {
  return static_cast<std::uint32_t>((NowNs() - origin_ns_) / 1000000);
}

}  // namespace kelvarok
