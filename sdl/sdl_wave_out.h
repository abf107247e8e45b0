// The real wave output device over SDL2 audio. SDL's audio thread takes the
// written blocks' bytes, marks each block done when it has been played and
// posts MM_WOM_DONE to the callback window, whose messages the user-interface
// thread delivers. Volume scales this program's own output only.
#pragma once

#include <SDL2/SDL.h>

#include "platform/queued_wave_out.h"

namespace kelvarok {

// The name the capabilities give WAVE_MAPPER: SDL's default output device,
// the same on every machine, so that "WAVEMIX.INI" can name its section.
inline constexpr const char* kSdlMapperName = "SDL Default Device";
// Frames SDL asks for at a time: at most 512 (46 ms at 11025 per second).
inline constexpr Uint16 kSdlDeviceFrames = 512;

class SdlWaveOut final : public QueuedWaveOut {
 public:
  explicit SdlWaveOut(WindowMessages& messages);
  ~SdlWaveOut() override;
  SdlWaveOut(const SdlWaveOut&) = delete;
  SdlWaveOut& operator=(const SdlWaveOut&) = delete;

  // SDL's output devices; at least one when SDL's default device opens.
  std::uint32_t waveOutGetNumDevs() override;
  MMRESULT waveOutGetDevCapsA(std::uint32_t device_id, WAVEOUTCAPS* caps) override;

 protected:
  MMRESULT OpenDevice(std::uint32_t device_id, const WAVEFORMATEX& format) override;
  void CloseDevice() override;
  void Lock() override;
  void Unlock() override;

 private:
  static void SDLCALL Callback(void* self, Uint8* stream, int length);
  bool DefaultDeviceOpens() const;

  bool initialised_ = false;
  SDL_AudioDeviceID device_ = 0;
  Uint8 silence_ = 0x80;
};

}  // namespace kelvarok
