// The real wave output device over SDL2 audio. SDL's audio thread takes the
// written blocks' bytes, marks each block done when it has been played and
// posts MM_WOM_DONE to the callback window, whose messages the user-interface
// thread delivers. Volume scales this program's own output only.
//
// SDL's device runs at its own preferred rate with a buffer of at least 10 ms
// (512 frames at 48000 per second) unless KELVAROK_SOUND_BUFFER_MS asks for
// another: short enough that a shot reaches
// a sound server's sink in about 30 ms, long enough that the server is not
// left without sound whenever another program takes the processor for a
// moment. A rate converter turns the mixer's format into 16-bit samples at
// that rate (SDL's own resampling stream gathers about 46 ms before it gives
// anything out). Everything the mixer sees (byte position, blocks, volume)
// stays in the mixer's format. The SDL device stays open from the first open
// to the end of the program: a close only detaches the queue.
#pragma once

#include <SDL2/SDL.h>

#include <chrono>
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

// The device's buffer in milliseconds: KELVAROK_SOUND_BUFFER_MS (setting, may
// be null) when it is a number above 0, kept within the bounds below;
// otherwise the default.
inline constexpr int kSdlDefaultBufferMs = 10;
inline constexpr int kSdlShortestBufferMs = 5;
inline constexpr int kSdlLongestBufferMs = 200;
int SdlBufferMilliseconds(const char* setting);

// Frames of the device's buffer at rate: the smallest power of two that lasts
// at least milliseconds (SDL's buffers overflow with other sizes).
Uint16 SdlDeviceFrames(int rate, int milliseconds);

class SdlWaveOut final : public QueuedWaveOut {
 public:
  explicit SdlWaveOut(WindowMessages& messages);
  // With KELVAROK_SOUND_UNDERRUNS set, prints on standard error how often the
  // sound broke off: the mixer's queue ran dry, or SDL's audio thread asked
  // for the next buffer only after the device had played out the last one.
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
  void Resetting() override;

 private:
  static void SDLCALL Callback(void* self, Uint8* stream, int length);
  void Fill(std::span<Uint8> out);
  bool DefaultDeviceOpens() const;
  void ReleaseDevice();
  void CountLateFill();
  void SkipWhatWasHeard();

  // A lead beyond this is no server's buffer but a clock that jumped.
  static constexpr std::chrono::microseconds kLongestLead{200'000};

  const int buffer_ms_;
  bool initialised_ = false;
  // The SDL device, open from the first open to the end of the program or
  // until another device or channel count is asked for.
  SDL_AudioDeviceID device_ = 0;
  std::uint32_t device_id_ = 0;
  SDL_AudioSpec obtained_{};
  // Set while a wave device is open on the SDL device: the queue is played.
  std::optional<RateConverter> converter_;
  // The queue's bytes and their conversion on their way to SDL; sized at
  // open for one device buffer.
  std::vector<std::uint8_t> taken_;
  std::vector<std::int16_t> converted_;
  // Under the lock: when the byte counter last started from zero, how far the
  // bytes taken were ahead of the time since then at the last reset, and the
  // bytes the next open's sound passes over for it.
  std::chrono::steady_clock::time_point counter_zero_;
  std::chrono::microseconds lead_{};
  std::uint32_t skip_ = 0;
  // On SDL's audio thread: when it last asked for a buffer, whether that
  // buffer ended in sound, and the requests that came too late.
  std::chrono::steady_clock::time_point last_fill_;
  bool sounding_ = false;
  std::uint32_t late_fills_ = 0;
};

}  // namespace kelvarok
