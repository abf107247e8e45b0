#include "sound/session_settings.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "sound/mixer_module.h"
#include "sound/output_clock.h"

namespace kelvarok {

DefaultSettings ReadDefaultSettings(IniReader& ini) {
  const auto read = [&ini](const char* key, std::int32_t fallback) {
    return ini.GetPrivateProfileIntA("default", key, fallback, kMixerIniFile);
  };
  DefaultSettings settings;
  settings.remix = read("Remix", 1);
  settings.good_wave_pos = read("GoodWavePos", 0);
  settings.wave_blocks = read("WaveBlocks", 3);
  settings.wave_block_len = read("WaveBlockLen", 0) & 0xFFFC;
  settings.samples_per_sec = read("SamplesPerSec", 11);
  return settings;
}

std::int32_t BlockCountOf(std::uint32_t wave_blocks) {
  return std::clamp(static_cast<std::int32_t>(wave_blocks), 2, 6);
}

bool IsRateCode(std::uint32_t code) {
  return code == 11 || code == 22 || code == 44;
}

std::uint32_t SamplesPerSecOf(std::uint32_t code) {
  if (code == 22) return 22050;
  if (code == 44) return 44100;
  return 11025;
}

std::uint32_t BlockLengthOf(std::uint32_t device_block_len, std::uint32_t default_block_len,
                            std::uint32_t samples_per_sec, std::uint16_t block_align) {
  std::uint32_t length = std::min(samples_per_sec / 11025 * 2048, 4096u);
  if (device_block_len != 0) {
    length = std::clamp(device_block_len, 512u, 4096u);
  } else if (default_block_len != 0) {
    length = std::clamp(default_block_len, 512u, 4096u);
  }
  // A block that ended inside a sample frame would start the next one on the
  // wrong channel. Rounded down from at least 512, it keeps at least a frame.
  return length - length % block_align;
}

void ApplySettings(TMixSession& session, IniReader& ini, WaveOut& wave_out,
                   const TMixConfig* config) {
  const DefaultSettings defaults = ReadDefaultSettings(ini);
  std::strcpy(session.DeviceName, "default");

  const std::uint32_t devices = wave_out.waveOutGetNumDevs();
  std::uint32_t device = ini.GetPrivateProfileIntA("general", "WaveOutDevice", -1, kMixerIniFile);
  if (device >= devices) device = WAVE_MAPPER;
  session.DeviceId = static_cast<std::int32_t>(device);

  WAVEOUTCAPS caps;
  if (wave_out.waveOutGetDevCapsA(device, &caps) != MMSYSERR_NOERROR) {
    caps = WAVEOUTCAPS{};
    std::strcpy(caps.szPname, "Unknown Device");
  }
  caps.szPname[sizeof caps.szPname - 1] = '\0';
  const std::string name = caps.szPname;
  if ((caps.dwSupport & WAVECAPS_SYNC) != 0) {
    throw EWaveMixError(name + " is a syncronous (blocking) " +
                        "wave output device.  This will not permit audio to play while other " +
                        "applications are running");
  }
  if (ini.GetPrivateProfileIntA("not compatible", name, 0, kMixerIniFile) != 0) {
    throw EWaveMixError(name + " is not compatible with " + "the realtime wavemixer");
  }

  std::strcpy(session.DeviceName, name.c_str());
  const auto device_value = [&](const char* key, std::uint32_t fallback) {
    return ini.GetPrivateProfileIntA(name, key, static_cast<std::int32_t>(fallback), kMixerIniFile);
  };
  if (device_value("Remix", defaults.remix) == 2) {
    session.RemixRoutine = &MixerModule::ShiftingRemix;
  } else {
    session.RemixRoutine = &MixerModule::ResettingRemix;
  }
  session.GoodWavePos =
      static_cast<std::uint8_t>(device_value("GoodWavePos", defaults.good_wave_pos));
  session.BlockCount = BlockCountOf(device_value("WaveBlocks", defaults.wave_blocks));

  if (config != nullptr && (config->dwFlags & MixConfigChannels) != 0 && config->wChannels > 1 &&
      caps.wChannels > 1) {
    session.Format.nChannels = 2;
    session.Format.nBlockAlign = 2;
  }
  std::uint32_t rate_code = device_value("SamplesPerSec", defaults.samples_per_sec);
  if (config != nullptr && (config->dwFlags & MixConfigSamplingRate) != 0 &&
      IsRateCode(config->wSamplingRate)) {
    rate_code = config->wSamplingRate;
  }
  session.Format.nSamplesPerSec = SamplesPerSecOf(rate_code);
  session.Format.nAvgBytesPerSec = session.Format.nChannels * session.Format.nSamplesPerSec;
  session.BlockLength = BlockLengthOf(device_value("WaveBlockLen", 0), defaults.wave_block_len,
                                      session.Format.nSamplesPerSec, session.Format.nBlockAlign);
  session.OffsetRoutine = &AddPositionOffset;
}

}  // namespace kelvarok
