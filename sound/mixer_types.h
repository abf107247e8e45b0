// The mixer's records: configuration, play parameters, waves, play entries,
// output blocks and the session.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "platform/wave_out.h"
#include "platform/window_messages.h"

namespace kelvarok {

struct TMixSession;
using HMIXSESSION = TMixSession*;

constexpr std::uint16_t kMixConfigSize = 10;
constexpr std::uint32_t MixConfigChannels = 0x1;
constexpr std::uint32_t MixConfigSamplingRate = 0x2;

struct TMixConfig {
  std::uint16_t wSize = kMixConfigSize;
  std::uint32_t dwFlags = 0;
  std::uint16_t wChannels = 0;
  std::uint16_t wSamplingRate = 0;
};

// Play flags.
constexpr std::uint32_t MixPlayClearQueue = 0x1;
constexpr std::uint32_t MixPlayUseLru = 0x2;
constexpr std::uint32_t MixPlayHighPriority = 0x4;
constexpr std::uint32_t MixPlayWait = 0x8;
constexpr std::uint16_t kLoopForever = 0xFFFF;

// Channel open modes and channel flags.
constexpr std::uint32_t MixOpenSingle = 0;
constexpr std::uint32_t MixOpenAll = 1;
constexpr std::uint32_t MixOpenCount = 2;
constexpr std::uint32_t MixChannelAll = 0x1;
constexpr std::uint32_t MixFlushNoRemix = 0x2;

// Wave sources.
constexpr std::uint32_t MixWaveFromResource = 0x2;
constexpr std::uint32_t MixWaveFromMemory = 0x4;

constexpr int kChannelCount = 8;
constexpr std::uint16_t kMixPlayParamsSize = 24;

struct TMixWave;

struct TMixPlayParams {
  std::uint16_t wSize = kMixPlayParamsSize;
  HMIXSESSION hMixSession = nullptr;
  std::int32_t iChannel = 0;
  TMixWave* lpMixWave = nullptr;
  HWND hWndNotify = 0;
  std::uint32_t dwFlags = 0;
  std::uint16_t wLoops = 0;
};

constexpr std::size_t kWaveNameSize = 16;

// A loaded wave: its source format as read, and its samples already in the
// session's output format.
struct TMixWave {
  WAVEFORMATEX Format;
  WAVEHDR Header;
  char Name[kWaveNameSize] = {};
};

// Positions in the output stream meaning "never" / "endless".
constexpr std::uint32_t kNeverPos = 0x7FFFFFFF;

struct TMixPlayEntry {
  TMixPlayEntry* Next = nullptr;
  TMixPlayParams Params;
  TMixWave* Wave = nullptr;
  std::uint32_t WaveLength = 0;
  std::uint32_t StartPos = 0;
  std::uint32_t EndPos = 0;
  const std::uint8_t* Data = nullptr;
};

constexpr std::size_t kBlockDataSize = 4096;
constexpr int kBlockTableSize = 6;

// An output block. Its device header carries the block's start in dwUser, so
// that whoever watches the device knows which stretch of output it holds.
struct TMixBlock {
  WAVEHDR Header;
  bool Free = true;
  std::uint32_t BlockStart = 0;
  TMixSession* Session = nullptr;
  std::uint8_t Data[kBlockDataSize] = {};

  void SetStart(std::uint32_t start) {
    BlockStart = start;
    Header.dwUser = start;
  }
};

// The output position that was written into a block the mixer handed to the
// device.
inline std::uint32_t BlockStartOf(const WAVEHDR& header) {
  return static_cast<std::uint32_t>(header.dwUser);
}

constexpr std::uint16_t kSessionMagic = 0x5432;
constexpr std::size_t kDeviceNameSize = 36;

class MixerModule;
using RemixStrategy = void (MixerModule::*)(std::uint32_t start, TMixPlayEntry* entry);
using OffsetFunction = std::uint32_t (*)(std::uint32_t counter, std::uint32_t offset);

// A channel's play list: closed, or open with its entries in the order they
// play (none while the channel is idle). It reads as its first entry.
class PlayList {
 public:
  bool IsOpen() const { return open_; }
  // Opens a closed list, empty; false when it was open already.
  bool Open() { return !std::exchange(open_, true); }
  // Closes the list; its entries must have gone back to the pool.
  void Close() {
    open_ = false;
    first_ = nullptr;
  }
  TMixPlayEntry* First() const { return first_; }
  // The link to the first entry, for putting entries in and taking them out.
  TMixPlayEntry*& Link() { return first_; }
  operator TMixPlayEntry*() const { return first_; }
  TMixPlayEntry* operator->() const { return first_; }

 private:
  TMixPlayEntry* first_ = nullptr;
  bool open_ = false;
};

// What every closed play list compares equal to.
struct ClosedChannelMark {};
constexpr ClosedChannelMark ClosedChannel() {
  return {};
}
inline bool operator==(const PlayList& list, ClosedChannelMark) {
  return !list.IsOpen();
}

struct TMixSession {
  std::uint16_t Magic1 = 0;
  HWND CallbackWindow = 0;
  HWAVEOUT WaveOut = 0;
  bool DeviceActive = false;
  std::int32_t DeviceId = 0;
  char DeviceName[kDeviceNameSize] = {};
  std::array<PlayList, kChannelCount> ChannelHeads{};
  std::int32_t OpenChannels = 0;
  std::array<std::uint32_t, kChannelCount> LastUsed{};
  std::uint32_t UseCounter = 0;
  WAVEFORMATEX Format;
  std::uint32_t BlockLength = 0;
  std::int32_t BlockCount = 0;
  std::uint32_t MixPosition = 0;
  std::uint32_t TimeBase = 0;
  std::uint8_t GoodWavePos = 0;
  std::uint32_t PositionOffset = 0;
  RemixStrategy RemixRoutine = nullptr;
  OffsetFunction OffsetRoutine = nullptr;
  TMixPlayEntry* PendingPlays = nullptr;
  std::uint16_t Magic2 = 0;
};

}  // namespace kelvarok
