#include "sdl/sdl_wave_out.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sdl/audio_thread_priority.h"
#include "sdl/quiet_alsa.h"

namespace kelvarok {

namespace {

// A short buffer at the rate the device itself plays, so that nothing after
// SDL resamples again. Samples stay 16-bit and the channels the mixer's: SDL
// turns them into the device's without gathering any delay.
SDL_AudioSpec WantedSpec(std::uint32_t device_id, Uint8 channels, int buffer_ms) {
  SDL_AudioSpec spec{};
  const int queried = device_id == WAVE_MAPPER
                          ? SDL_GetDefaultAudioInfo(nullptr, &spec, 0)
                          : SDL_GetAudioDeviceSpec(static_cast<int>(device_id), 0, &spec);
  const int rate = queried == 0 && spec.freq > 0 ? spec.freq : kSdlFallbackRate;
  spec = SDL_AudioSpec{};
  spec.freq = rate;
  spec.format = AUDIO_S16SYS;
  spec.channels = channels;
  spec.samples = SdlDeviceFrames(rate, buffer_ms);
  return spec;
}

// The device may choose its rate and buffer size, nothing else.
constexpr int kAllowedChanges = SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE;

const char* DeviceName(std::uint32_t device_id) {
  return device_id == WAVE_MAPPER ? nullptr
                                  : SDL_GetAudioDeviceName(static_cast<int>(device_id), 0);
}

}  // namespace

int SdlBufferMilliseconds(const char* setting) {
  const int asked = setting != nullptr ? std::atoi(setting) : 0;
  return asked > 0 ? std::clamp(asked, kSdlShortestBufferMs, kSdlLongestBufferMs)
                   : kSdlDefaultBufferMs;
}

Uint16 SdlDeviceFrames(int rate, int milliseconds) {
  const std::int64_t wanted = (std::int64_t{std::max(rate, 1)} * milliseconds + 999) / 1000;
  Uint16 frames = 1;
  while (frames < wanted && frames < 0x8000) frames = static_cast<Uint16>(frames * 2);
  return frames;
}

SdlWaveOut::SdlWaveOut(WindowMessages& messages)
    : QueuedWaveOut(messages),
      buffer_ms_(SdlBufferMilliseconds(std::getenv("KELVAROK_SOUND_BUFFER_MS"))) {
  // SDL's audio thread asks RealtimeKit for real-time scheduling, as sound
  // servers' own threads do: with a nice level alone, a busy program in
  // another session gets an equal share of the processor and the thread wakes
  // too late to feed the device.
  SDL_SetHint(SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL, "1");
  QuietAlsaErrors();
  initialised_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

SdlWaveOut::~SdlWaveOut() {
  ReleaseDevice();
  if (initialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  const char* report = std::getenv("KELVAROK_SOUND_UNDERRUNS");
  if (report != nullptr && *report != '\0') {
    const std::uint32_t dry = Underruns();
    std::fprintf(stderr,
                 "kelvarok: %u sound underruns (%u times the mixer had not written in time, "
                 "%u times the sound device was not fed in time)\n",
                 static_cast<unsigned>(dry + late_fills_), static_cast<unsigned>(dry),
                 static_cast<unsigned>(late_fills_));
  }
}

bool SdlWaveOut::DefaultDeviceOpens() const {
  SDL_AudioSpec wanted = WantedSpec(WAVE_MAPPER, 1, buffer_ms_);
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

// Reuses the device kept from the last close when it is the same device with
// the same channels and SDL still plays it; a device that has gone away is
// closed and looked for again, so that its loss shows as a failed open.
MMRESULT SdlWaveOut::OpenDevice(std::uint32_t device_id, const WAVEFORMATEX& format) {
  const bool kept = device_ != 0 && device_id == device_id_ &&
                    obtained_.channels == format.nChannels &&
                    SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING;
  if (!kept) {
    ReleaseDevice();
    SDL_AudioSpec wanted = WantedSpec(device_id, static_cast<Uint8>(format.nChannels), buffer_ms_);
    wanted.callback = &SdlWaveOut::Callback;
    wanted.userdata = this;
    device_ = SDL_OpenAudioDevice(DeviceName(device_id), 0, &wanted, &obtained_, kAllowedChanges);
    if (device_ == 0) return MMSYSERR_NODRIVER;
    device_id_ = device_id;
  }
  SDL_LockAudioDevice(device_);
  converter_.emplace(format, obtained_.freq);
  converted_.resize(std::size_t{obtained_.samples} * format.nChannels);
  taken_.resize(converter_->SourceBytesFor(obtained_.samples) + format.nBlockAlign);
  const auto lead_bytes =
      static_cast<std::uint64_t>(lead_.count()) * format.nAvgBytesPerSec / 1'000'000;
  skip_ = static_cast<std::uint32_t>(lead_bytes - lead_bytes % format.nBlockAlign);
  lead_ = {};
  counter_zero_ = std::chrono::steady_clock::now();
  SDL_UnlockAudioDevice(device_);
  if (!kept) SDL_PauseAudioDevice(device_, 0);
  return MMSYSERR_NOERROR;
}

// Closing a device of a sound server can block for a second or more and
// opening one again takes as long before anything is heard, so a close only
// detaches the queue: the device goes on playing silence until the next open
// or the end of the program.
void SdlWaveOut::CloseDevice() {
  if (device_ == 0) return;
  SDL_LockAudioDevice(device_);
  converter_.reset();
  SDL_UnlockAudioDevice(device_);
}

// The mixer dates the bytes it writes after an open or a reset by its clock:
// the counter's zero is heard at that moment. What SDL has taken beyond that
// clock is with the sound server and will still be heard.
void SdlWaveOut::Resetting() {
  const auto now = std::chrono::steady_clock::now();
  const auto played =
      std::chrono::microseconds(std::uint64_t{PlayedBytes()} * 1'000'000 /
                                std::max<std::uint32_t>(Format().nAvgBytesPerSec, 1));
  const auto clock = std::chrono::duration_cast<std::chrono::microseconds>(now - counter_zero_);
  lead_ = std::clamp(played - clock, std::chrono::microseconds{}, kLongestLead);
  counter_zero_ = now;
}

void SdlWaveOut::ReleaseDevice() {
  if (device_ == 0) return;
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
  CountLateFill();
  if (!converter_) {
    sounding_ = false;
    std::fill(out.begin(), out.end(), Uint8{0});
    return;
  }
  const std::size_t channels = Format().nChannels;
  const std::size_t frames = std::min(out.size() / (2 * channels), converted_.size() / channels);
  SkipWhatWasHeard();
  const std::span<std::uint8_t> taken =
      std::span(taken_).first(std::min(taken_.size(), converter_->SourceBytesFor(frames)));
  const std::size_t played = Consume(taken);
  std::fill(taken.begin() + static_cast<std::ptrdiff_t>(played), taken.end(), SilenceByte());
  const std::span<std::int16_t> samples = std::span(converted_).first(frames * channels);
  converter_->Convert(taken, samples);
  std::memcpy(out.data(), samples.data(), samples.size_bytes());
  std::memset(out.data() + samples.size_bytes(), 0, out.size() - samples.size_bytes());
  sounding_ =
      std::any_of(samples.end() - static_cast<std::ptrdiff_t>(std::min(channels, samples.size())),
                  samples.end(), [](std::int16_t sample) { return sample != 0; });
}

// After a close the mixer resumes from its clock's position, behind what the
// server was given before the close and has played since: that much of the
// resumed sound is passed over, so that it goes on where it was cut off
// instead of repeating its last milliseconds. Only the sound the open
// resumed: a queue that is empty when SDL first asks resumed nothing, and a
// sound started later must not lose its beginning.
void SdlWaveOut::SkipWhatWasHeard() {
  while (skip_ > 0) {
    const std::size_t skipped =
        Consume(std::span(taken_).first(std::min<std::size_t>(skip_, taken_.size())));
    skip_ = skipped == 0 ? 0 : skip_ - static_cast<std::uint32_t>(skipped);
  }
}

// SDL asks for the next buffer as the device has room for it; a request that
// comes more than two buffers' time after the last one while a sound was
// playing means that the device played out all it had and fell silent.
void SdlWaveOut::CountLateFill() {
  const auto now = std::chrono::steady_clock::now();
  const auto buffer_time = std::chrono::microseconds(std::int64_t{obtained_.samples} * 1'000'000 /
                                                     std::max(obtained_.freq, 1));
  if (sounding_ && now - last_fill_ > 2 * buffer_time) ++late_fills_;
  last_fill_ = now;
}

// On SDL's audio thread, which holds the device lock while it runs.
void SDLCALL SdlWaveOut::Callback(void* self, Uint8* stream, int length) {
  KeepAudioThreadInTime();
  static_cast<SdlWaveOut*>(self)->Fill(
      std::span<Uint8>(stream, static_cast<std::size_t>(std::max(length, 0))));
}

}  // namespace kelvarok
