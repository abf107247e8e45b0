// TWaveMix: one mixer session behind two properties and a few methods, as
// the game holds it.
#pragma once

#include <memory>

#include "platform/riff_reader.h"
#include "sound/mixer_module.h"

namespace kelvarok {

// A control that can be told about finished waves; asking for its handle
// creates its window if needed.
class TWinControl {
 public:
  virtual ~TWinControl() = default;
  virtual HWND Handle() = 0;
};

class TWaveMix {
 public:
  // A session from WaveMixInit.
  static std::unique_ptr<TWaveMix> Create(MixerModule& mixer);
  // A session from WaveMixConfigureInit with a copy of config.
  static std::unique_ptr<TWaveMix> CreateWithConfig(MixerModule& mixer, const TMixConfig& config);
  // Closes the channels, deactivates and ends the session, in that order.
  ~TWaveMix();
  TWaveMix(const TWaveMix&) = delete;
  TWaveMix& operator=(const TWaveMix&) = delete;

  bool Activated() const { return activated_; }
  // Opens or closes the device. The flag always says whether the session
  // holds the device: a failed opening leaves it false, a block refused
  // after the device opened leaves it true.
  void SetActivated(bool value);
  // Bit i set: channel i is open.
  std::uint8_t Channels() const { return channels_; }
  void SetChannels(std::uint8_t value);

  TMixWave* OpenWave(MMIOINFO* info);
  void FreeWave(TMixWave* wave);
  // With MixPlayUseLru the chosen channel is left in PlayParams().iChannel.
  void Play(std::int32_t channel, TMixWave* wave, TWinControl* notify, std::uint32_t flags,
            std::uint16_t loops);

  HMIXSESSION Session() const { return session_; }
  const TMixPlayParams& PlayParams() const { return play_params_; }

 private:
  explicit TWaveMix(MixerModule& mixer) : mixer_(mixer) {}
  void Attach(HMIXSESSION session);

  MixerModule& mixer_;
  TMixPlayParams play_params_;
  HMIXSESSION session_ = nullptr;
  bool activated_ = false;
  std::uint8_t channels_ = 0;
};

}  // namespace kelvarok
