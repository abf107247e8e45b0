#include "sdl/sdl_wave_out.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kelvarok {

SdlWaveOut::SdlWaveOut(WindowMessages& messages) : QueuedWaveOut(messages) {
  initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

SdlWaveOut::~SdlWaveOut() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlWaveOut::DefaultDeviceOpens() const {
  SDL_AudioSpec wanted{};
  wanted.freq = 11025;
  wanted.format = AUDIO_U8;
  wanted.channels = 1;
  wanted.samples = kSdlDeviceFrames;
  const SDL_AudioDeviceID probe = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (probe == 0) return false;
  SDL_CloseAudioDevice(probe);
  return true;
}

std::uint32_t SdlWaveOut::waveOutGetNumDevs() {
  if (!initialised_) return 0;
  const int count = SDL_GetNumAudioDevices(0);
  if (count > 0) return static_cast<std::uint32_t>(count);
  return DefaultDeviceOpens() ? 1 : 0;
}

MMRESULT SdlWaveOut::waveOutGetDevCapsA(std::uint32_t device_id, WAVEOUTCAPS* caps) {
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  if (!ValidDevice(device_id)) return MMSYSERR_BADDEVICEID;
  *caps = WAVEOUTCAPS{};
  const char* name = device_id == WAVE_MAPPER
                         ? kSdlMapperName
                         : SDL_GetAudioDeviceName(static_cast<int>(device_id), 0);
  const std::string product = name != nullptr ? name : "SDL Audio Device";
  product.copy(caps->szPname, sizeof caps->szPname - 1);
  caps->wChannels = 2;
  caps->dwSupport = WAVECAPS_VOLUME | WAVECAPS_LRVOLUME;
  return MMSYSERR_NOERROR;
}

MMRESULT SdlWaveOut::OpenDevice(std::uint32_t device_id, const WAVEFORMATEX& format) {
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(format.nSamplesPerSec);
  wanted.format = format.wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  wanted.channels = static_cast<Uint8>(format.nChannels);
  wanted.samples = kSdlDeviceFrames;
  wanted.callback = &SdlWaveOut::Callback;
  wanted.userdata = this;
  const char* name =
      device_id == WAVE_MAPPER ? nullptr : SDL_GetAudioDeviceName(static_cast<int>(device_id), 0);
  SDL_AudioSpec obtained{};
  device_ = SDL_OpenAudioDevice(name, 0, &wanted, &obtained, 0);
  if (device_ == 0) return MMSYSERR_NODRIVER;
  silence_ = obtained.silence;
  SDL_PauseAudioDevice(device_, 0);
  return MMSYSERR_NOERROR;
}

void SdlWaveOut::CloseDevice() {
  SDL_CloseAudioDevice(device_);
  device_ = 0;
}

void SdlWaveOut::Lock() {
  if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SdlWaveOut::Unlock() {
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

// On SDL's audio thread, which holds the device lock while it runs.
void SDLCALL SdlWaveOut::Callback(void* self, Uint8* stream, int length) {
  auto& device = *static_cast<SdlWaveOut*>(self);
  const std::size_t size = static_cast<std::size_t>(std::max(length, 0));
  const std::size_t played = device.Consume(std::span<std::uint8_t>(stream, size));
  std::memset(stream + played, device.silence_, size - played);
}

}  // namespace kelvarok
