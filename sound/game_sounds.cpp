#include "sound/game_sounds.h"

#include <algorithm>

#include "assets/sounds/effect_sounds.h"

namespace kelvarok {

namespace {

constexpr std::uint8_t kEffectChannels = 0x1F;  // channels 0 to 4, one per effect
// The order in which the effects are freed at exit.
constexpr std::array<Effect, kEffectCount> kFreeOrder = {
    Effect::Thrust, Effect::Missile, Effect::Hyperspace, Effect::Explosion, Effect::Bonus};

MMIOINFO MemoryImage(int effect) {
  const std::span<const std::uint8_t> image = EffectSoundImage(effect);
  MMIOINFO info;
  info.fccIOProc = FOURCC_MEM;
  // The mixer only reads the image.
  info.pchBuffer = const_cast<char*>(reinterpret_cast<const char*>(image.data()));
  info.cchBuffer = static_cast<std::int32_t>(image.size());
  return info;
}

}  // namespace

GameSounds::GameSounds(GameSoundServices services, bool sound_available)
    : services_(std::move(services)) {
  if (!sound_available) return;
  try {
    // Only the size is given, so the output format comes from "WAVEMIX.INI".
    mixer_ = TWaveMix::CreateWithConfig(services_.mixer, TMixConfig{kMixConfigSize, 0, 0, 0});
    mixer_->SetChannels(kEffectChannels);
  } catch (const EWaveMixError& error) {
    mixer_.reset();
    Report(error.what());
    return;
  }
  std::uint32_t volume = 0;
  if (services_.wave_out.waveOutGetVolume(WAVE_MAPPER, &volume) == MMSYSERR_NOERROR)
    saved_volume_ = volume;
}

GameSounds::~GameSounds() {
  FreeEffects();
}

void GameSounds::FreeEffects() {
  if (mixer_ == nullptr) return;
  for (const Effect effect : kFreeOrder) {
    TMixWave*& wave = effects_[static_cast<std::size_t>(EffectNumber(effect))];
    if (wave == nullptr) continue;
    try {
      mixer_->FreeWave(wave);
    } catch (const EWaveMixError&) {
      // The session ends right after; it takes what is left with it.
    }
    wave = nullptr;
  }
  mixer_.reset();
}

void GameSounds::LoadEffects() {
  if (mixer_ == nullptr) return;
  try {
    for (int n = 0; n < kEffectCount; ++n) {
      const auto i = static_cast<std::size_t>(n);
      images_[i] = MemoryImage(n);
      effects_[i] = mixer_->OpenWave(&images_[i]);
    }
  } catch (const EWaveMixError& error) {
    FreeEffects();
    Report(error.what());
  }
}

void GameSounds::SoundEffect(Effect effect) {
  if (mixer_ == nullptr || !mixer_->Activated()) return;
  const int n = EffectNumber(effect);
  if (n < 0 || n >= kEffectCount) return;
  TMixWave* wave = effects_[static_cast<std::size_t>(n)];
  if (wave == nullptr) return;
  try {
    mixer_->Play(n, wave, nullptr, MixPlayClearQueue, 0);
  } catch (const EWaveMixError& error) {
    Fail(error);
  }
}

void GameSounds::SetActivated(bool value) {
  if (mixer_ == nullptr) return;
  try {
    mixer_->SetActivated(value);
    if (value) failure_reported_ = false;
  } catch (const EWaveMixError& error) {
    Fail(error);
  }
}

void GameSounds::DispatchMixerMessages() {
  try {
    services_.messages.DispatchPending();
  } catch (const EWaveMixError& error) {
    Fail(error);
  }
}

void GameSounds::Fail(const EWaveMixError& error) {
  Report(error.what());
  failure_reported_ = true;
}

void GameSounds::Report(const std::string& message) {
  if (failure_reported_ || !services_.report) return;
  services_.report(message);
}

std::uint32_t GameSounds::WaveVolume(std::int32_t percent) {
  const std::int32_t clamped = std::clamp<std::int32_t>(percent, 0, 100);
  const auto level = static_cast<std::uint32_t>(clamped * 65535 / 100) & 0xFFFF;
  return level | (level << 16);
}

void GameSounds::ApplySoundVolume(std::int32_t percent) {
  if (mixer_ == nullptr) return;
  services_.wave_out.waveOutSetVolume(WAVE_MAPPER, WaveVolume(percent));
}

void GameSounds::RestoreSystemVolume() {
  if (saved_volume_) services_.wave_out.waveOutSetVolume(WAVE_MAPPER, *saved_volume_);
}

const TMixWave* GameSounds::EffectWave(int n) const {
  if (n < 0 || n >= kEffectCount) return nullptr;
  return effects_[static_cast<std::size_t>(n)];
}

}  // namespace kelvarok
