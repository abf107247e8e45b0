// The fuzz targets' assertion: a broken promise ends the run loudly, in
// every build (NDEBUG or not), so that libFuzzer records the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kelvarok::fuzz {

inline void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", promise);
  std::abort();
}

}  // namespace kelvarok::fuzz
