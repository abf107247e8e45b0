#include "sound/twavemix.h"

namespace kelvarok {

std::unique_ptr<TWaveMix> TWaveMix::Create(MixerModule& mixer) {
  std::unique_ptr<TWaveMix> component(new TWaveMix(mixer));
  component->Attach(mixer.WaveMixInit());
  return component;
}

std::unique_ptr<TWaveMix> TWaveMix::CreateWithConfig(MixerModule& mixer, const TMixConfig& config) {
  std::unique_ptr<TWaveMix> component(new TWaveMix(mixer));
  const TMixConfig copy = config;
  component->Attach(mixer.WaveMixConfigureInit(&copy));
  return component;
}

void TWaveMix::Attach(HMIXSESSION session) {
  session_ = session;
  play_params_.wSize = kMixPlayParamsSize;
  play_params_.hMixSession = session;
}

// A destructor must not throw: each step runs even when the one before it
// raised, so that the session always ends.
TWaveMix::~TWaveMix() {
  try {
    SetChannels(0);
  } catch (const EWaveMixError&) {
  }
  try {
    SetActivated(false);
  } catch (const EWaveMixError&) {
  }
  if (session_ != nullptr) {
    try {
      mixer_.WaveMixCloseSession(session_);
    } catch (const EWaveMixError&) {
    }
  }
}

// An activation can open the device and then have its first block refused:
// the flag then says that the device is open, and the error still passes on.
void TWaveMix::SetActivated(bool value) {
  if (value == activated_) return;
  try {
    mixer_.WaveMixActivate(session_, value);
  } catch (const EWaveMixError&) {
    activated_ = mixer_.ActiveSession() == session_;
    throw;
  }
  activated_ = value;
}

void TWaveMix::SetChannels(std::uint8_t value) {
  if (value == channels_) return;
  if (value == 255) {
    mixer_.WaveMixOpenChannel(session_, 0, MixOpenAll);
  } else if (value == 0) {
    mixer_.WaveMixCloseChannel(session_, 0, MixChannelAll);
  } else {
    const unsigned changed = static_cast<unsigned>(value ^ channels_);
    for (int channel = 0; channel < kChannelCount; ++channel) {
      const unsigned bit = 1u << channel;
      if ((changed & bit) == 0) continue;
      if ((value & bit) != 0) {
        mixer_.WaveMixOpenChannel(session_, channel, MixOpenSingle);
      } else {
        mixer_.WaveMixCloseChannel(session_, channel, 0);
      }
    }
  }
  channels_ = value;
}

TMixWave* TWaveMix::OpenWave(MMIOINFO* info) {
  return mixer_.WaveMixOpenWave(session_, info, nullptr, MixWaveFromMemory);
}

void TWaveMix::FreeWave(TMixWave* wave) {
  mixer_.WaveMixFreeWave(session_, wave);
}

void TWaveMix::Play(std::int32_t channel, TMixWave* wave, TWinControl* notify, std::uint32_t flags,
                    std::uint16_t loops) {
  play_params_.iChannel = channel;
  play_params_.lpMixWave = wave;
  play_params_.dwFlags = flags;
  play_params_.hWndNotify = notify != nullptr ? notify->Handle() : 0;
  play_params_.wLoops = loops;
  mixer_.WaveMixPlay(&play_params_);
}

}  // namespace kelvarok
