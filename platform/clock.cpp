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

std::uint32_t SteadyClock::timeGetTime() {
  return static_cast<std::uint32_t>((NowNs() - origin_ns_) / 1000000);
}

}  // namespace kelvarok
