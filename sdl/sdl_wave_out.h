// The real wave output device over SDL2 audio. SDL's audio thread takes the
// written blocks' bytes, marks each block done when it has been played and
// posts MM_WOM_DONE to the callback window, whose messages the user-interface
// thread delivers. Volume scales this program's own output only.
//
// SDL's device runs at its own preferred rate with a buffer of about 5 ms, so
// that a block written now is heard within a few milliseconds; a rate
// converter turns the mixer's format into 16-bit samples at that rate (SDL's
// own resampling stream gathers about 46 ms before it gives anything out).
// Everything the mixer sees (byte position, blocks, volume) stays in the
// mixer's format.
#pragma once

#include <SDL2/SDL.h>

#include <optional>
#include <vector>

#include "platform/queued_wave_out.h"
#include "sdl/rate_converter.h"

namespace kelvarok {

// The name the capabilities give WAVE_MAPPER: SDL's default output device,
// the same on every machine, so that "WAVEMIX.INI" can name its section.
inline constexpr const char* kSdlMapperName = "SDL Default Device";
// The rate asked for when SDL cannot say what the device prefers.
inline constexpr int kSdlFallbackRate = 48000;

// Frames of the device's buffer at rate: the smallest power of two that lasts
// at least 5 ms (256 at 48000 per second).
Uint16 SdlDeviceFrames(int rate);

class SdlWaveOut final : public QueuedWaveOut {
 public:
  explicit SdlWaveOut(WindowMessages& messages);
  // With KELVAROK_SOUND_UNDERRUNS set, prints the underrun count on standard
  // error.
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
  void Fill(std::span<Uint8> out);
  bool DefaultDeviceOpens() const;

  bool initialised_ = false;
  SDL_AudioDeviceID device_ = 0;
  std::optional<RateConverter> converter_;
  // The queue's bytes and their conversion on their way to SDL; sized at
  // open for one device buffer.
  std::vector<std::uint8_t> taken_;
  std::vector<std::int16_t> converted_;
};

}  // namespace kelvarok
