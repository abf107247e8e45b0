// The resources of type "WAVE" of a module, as the loader finds them.
#pragma once

#include <cstdint>

namespace kelvarok {

// A resource name, or a number whose high 16 bits are 0.
inline const char* MAKEINTRESOURCEA(std::uint16_t number) {
  return reinterpret_cast<const char*>(std::uintptr_t{number});
}
inline bool IS_INTRESOURCE(const void* name) {
  return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

struct WaveResource {
  std::uintptr_t handle = 0;
  std::uint32_t size = 0;
};

class WaveResourceModule {
 public:
  virtual ~WaveResourceModule() = default;
  // Finds and loads the resource; false when there is none.
  virtual bool LoadWaveResource(const char* name, WaveResource* resource) = 0;
  // Its bytes, or null when it cannot be locked.
  virtual const char* LockResource(const WaveResource& resource) = 0;
  virtual void FreeResource(const WaveResource& resource) = 0;
};

}  // namespace kelvarok
