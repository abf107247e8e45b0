// A wave output device that passes every call to another one: the base of
// devices that watch or record what a real device does.
#pragma once

#include "platform/wave_out.h"

namespace kelvarok {

class WaveOutForwarder : public WaveOut {
 public:
  explicit WaveOutForwarder(WaveOut& device) : device_(device) {}

  std::uint32_t waveOutGetNumDevs() override { return device_.waveOutGetNumDevs(); }
  MMRESULT waveOutGetDevCapsA(std::uint32_t id, WAVEOUTCAPS* caps) override {
    return device_.waveOutGetDevCapsA(id, caps);
  }
  MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id, const WAVEFORMATEX* format,
                       HWND callback, std::uint32_t flags) override {
    return device_.waveOutOpen(handle, device_id, format, callback, flags);
  }
  MMRESULT waveOutPrepareHeader(HWAVEOUT h, WAVEHDR* header) override {
    return device_.waveOutPrepareHeader(h, header);
  }
  MMRESULT waveOutUnprepareHeader(HWAVEOUT h, WAVEHDR* header) override {
    return device_.waveOutUnprepareHeader(h, header);
  }
  MMRESULT waveOutWrite(HWAVEOUT h, WAVEHDR* header) override {
    return device_.waveOutWrite(h, header);
  }
  MMRESULT waveOutReset(HWAVEOUT h) override { return device_.waveOutReset(h); }
  MMRESULT waveOutPause(HWAVEOUT h) override { return device_.waveOutPause(h); }
  MMRESULT waveOutRestart(HWAVEOUT h) override { return device_.waveOutRestart(h); }
  MMRESULT waveOutGetPosition(HWAVEOUT h, MMTIME* time) override {
    return device_.waveOutGetPosition(h, time);
  }
  MMRESULT waveOutClose(HWAVEOUT h) override { return device_.waveOutClose(h); }
  MMRESULT waveOutGetVolume(HWAVEOUT h, std::uint32_t* volume) override {
    return device_.waveOutGetVolume(h, volume);
  }
  MMRESULT waveOutSetVolume(HWAVEOUT h, std::uint32_t volume) override {
    return device_.waveOutSetVolume(h, volume);
  }
  void SetObserver(WaveOutObserver* observer) override { device_.SetObserver(observer); }

 protected:
  WaveOut& device() { return device_; }

 private:
  WaveOut& device_;
};

}  // namespace kelvarok
