#include "sdl/sdl_wave_out.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sdl/quiet_alsa.h"

namespace kelvarok {

namespace {

// A short buffer at the rate the device itself plays, so that nothing after
// SDL resamples again. Samples stay 16-bit and the channels the mixer's: SDL
// turns them into the device's without gathering any delay.
SDL_AudioSpec WantedSpec(std::uint32_t device_id, Uint8 channels) {
  SDL_AudioSpec spec{};
  const int queried = device_id == WAVE_MAPPER
                          ? SDL_GetDefaultAudioInfo(nullptr, &spec, 0)
                          : SDL_GetAudioDeviceSpec(static_cast<int>(device_id), 0, &spec);
  const int rate = queried == 0 && spec.freq > 0 ? spec.freq : kSdlFallbackRate;
  spec = SDL_AudioSpec{};
  spec.freq = rate;
  spec.format = AUDIO_S16SYS;
  spec.channels = channels;
  spec.samples = SdlDeviceFrames(rate);
  return spec;
}

// The device may choose its rate and buffer size, nothing else.
constexpr int kAllowedChanges = SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE;

const char* DeviceName(std::uint32_t device_id) {
  return device_id == WAVE_MAPPER ? nullptr
                                  : SDL_GetAudioDeviceName(static_cast<int>(device_id), 0);
}

}  // namespace

Uint16 SdlDeviceFrames(int rate) {
  const int wanted = (std::max(rate, 1) + 199) / 200;
  Uint16 frames = 1;
  while (frames < wanted && frames < 0x8000) frames = static_cast<Uint16>(frames * 2);
  return frames;
}

SdlWaveOut::SdlWaveOut(WindowMessages& messages) : QueuedWaveOut(messages) {
  QuietAlsaErrors();
  initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

SdlWaveOut::~SdlWaveOut() {
  if (device_ != 0) CloseDevice();
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  const char* report = std::getenv("KELVAROK_SOUND_UNDERRUNS");
  if (report != nullptr && *report != '\0')
    std::fprintf(stderr, "kelvarok: %u sound underruns\n", static_cast<unsigned>(Underruns()));
}

bool SdlWaveOut::DefaultDeviceOpens() const {
  SDL_AudioSpec wanted = WantedSpec(WAVE_MAPPER, 1);
  const SDL_AudioDeviceID probe =
      SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, kAllowedChanges);
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
  const char* name = device_id == WAVE_MAPPER ? kSdlMapperName : DeviceName(device_id);
  const std::string product = name != nullptr ? name : "SDL Audio Device";
  product.copy(caps->szPname, sizeof caps->szPname - 1);
  caps->wChannels = 2;
  caps->dwSupport = WAVECAPS_VOLUME | WAVECAPS_LRVOLUME;
  return MMSYSERR_NOERROR;
}

MMRESULT SdlWaveOut::OpenDevice(std::uint32_t device_id, const WAVEFORMATEX& format) {
  SDL_AudioSpec wanted = WantedSpec(device_id, static_cast<Uint8>(format.nChannels));
  wanted.callback = &SdlWaveOut::Callback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  device_ = SDL_OpenAudioDevice(DeviceName(device_id), 0, &wanted, &obtained, kAllowedChanges);
  if (device_ == 0) return MMSYSERR_NODRIVER;
  converter_.emplace(format, obtained.freq);
  converted_.resize(std::size_t{obtained.samples} * format.nChannels);
  taken_.resize(converter_->SourceBytesFor(obtained.samples) + format.nBlockAlign);
  SDL_PauseAudioDevice(device_, 0);
  return MMSYSERR_NOERROR;
}

void SdlWaveOut::CloseDevice() {
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  converter_.reset();
}

void SdlWaveOut::Lock() {
  if (device_ != 0) SDL_LockAudioDevice(device_);
}

void SdlWaveOut::Unlock() {
  if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

// Takes from the queue only what this buffer plays, so that the position the
// mixer reads follows what is heard; silence makes up for a queue that has
// less, so the converter's stream of frames never breaks.
void SdlWaveOut::Fill(std::span<Uint8> out) {
  const std::size_t channels = Format().nChannels;
  const std::size_t frames = std::min(out.size() / (2 * channels), converted_.size() / channels);
  const std::span<std::uint8_t> taken =
      std::span(taken_).first(std::min(taken_.size(), converter_->SourceBytesFor(frames)));
  const std::size_t played = Consume(taken);
  std::fill(taken.begin() + static_cast<std::ptrdiff_t>(played), taken.end(), SilenceByte());
  const std::span<std::int16_t> samples = std::span(converted_).first(frames * channels);
  converter_->Convert(taken, samples);
  std::memcpy(out.data(), samples.data(), samples.size_bytes());
  std::memset(out.data() + samples.size_bytes(), 0, out.size() - samples.size_bytes());
}

// On SDL's audio thread, which holds the device lock while it runs.
void SDLCALL SdlWaveOut::Callback(void* self, Uint8* stream, int length) {
  static_cast<SdlWaveOut*>(self)->Fill(
      std::span<Uint8>(stream, static_cast<std::size_t>(std::max(length, 0))));
}

}  // namespace kelvarok
