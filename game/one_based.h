// A fixed array indexed from 1, as the game numbers its players (1..2), rock
// slots (1..32) and missiles (1..10).
#pragma once

#include <array>
#include <cassert>

namespace kelvarok {

template <typename T, int N>
class OneBased {
 public:
  static constexpr int kLast = N;

  T& operator[](int i) {
    assert(i >= 1 && i <= N);
    return items_[static_cast<std::size_t>(i - 1)];
  }
  const T& operator[](int i) const {
    assert(i >= 1 && i <= N);
    return items_[static_cast<std::size_t>(i - 1)];
  }
  void fill(const T& value) { items_.fill(value); }

  friend bool operator==(const OneBased&, const OneBased&) = default;

 private:
  std::array<T, static_cast<std::size_t>(N)> items_{};
};

}  // namespace kelvarok
