// Wave output with the meanings of the Windows waveOut functions: blocks are
// prepared and written, the device plays them in order, marks each one
// WHDR_DONE and posts MM_WOM_DONE (wParam the device handle, lParam the block
// header) to the callback window given at open.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include "platform/window_messages.h"

namespace kelvarok {

using MMRESULT = std::uint32_t;
using HWAVEOUT = std::uintptr_t;  // 0 is no device

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

// The device number that asks for the system's choice of device. As a handle
// it names that device's volume (waveOutGetVolume / waveOutSetVolume).
constexpr std::uint32_t WAVE_MAPPER = 0xFFFFFFFF;

constexpr std::uint32_t WAVE_FORMAT_QUERY = 0x0001;
constexpr std::uint32_t CALLBACK_WINDOW = 0x00010000;

constexpr std::uint32_t MM_WOM_DONE = 0x3BD;

constexpr std::uint32_t WHDR_DONE = 0x01;
constexpr std::uint32_t WHDR_PREPARED = 0x02;
constexpr std::uint32_t WHDR_INQUEUE = 0x10;

constexpr std::uint32_t WAVECAPS_VOLUME = 0x04;
constexpr std::uint32_t WAVECAPS_LRVOLUME = 0x08;
constexpr std::uint32_t WAVECAPS_SYNC = 0x10;

constexpr std::uint32_t TIME_BYTES = 4;

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
  std::uint16_t wFormatTag = 0;
  std::uint16_t nChannels = 0;
  std::uint32_t nSamplesPerSec = 0;
  std::uint32_t nAvgBytesPerSec = 0;
  std::uint16_t nBlockAlign = 0;
  std::uint16_t wBitsPerSample = 0;
};

// A block of samples handed to the device. The flags are shared with the
// device, which may mark a block done from its own thread.
struct WAVEHDR {
  char* lpData = nullptr;
  std::uint32_t dwBufferLength = 0;
  std::uint32_t dwBytesRecorded = 0;
  std::uintptr_t dwUser = 0;
  std::atomic<std::uint32_t> dwFlags{0};
  std::uint32_t dwLoops = 0;
};

struct WAVEOUTCAPS {
  std::uint16_t wMid = 0;
  std::uint16_t wPid = 0;
  std::uint32_t vDriverVersion = 0;
  char szPname[32] = {};  // NUL-terminated product name, at most 31 characters
  std::uint32_t dwFormats = 0;
  std::uint16_t wChannels = 0;
  std::uint32_t dwSupport = 0;
};

// Only byte positions are offered.
struct MMTIME {
  std::uint32_t wType = TIME_BYTES;
  std::uint32_t cb = 0;
};

// Told what a device does, for recording and logging. Played runs on the
// device's thread with the bytes just played, after volume.
class WaveOutObserver {
 public:
  virtual ~WaveOutObserver() = default;
  virtual void Played(std::span<const std::uint8_t> bytes) = 0;
  // The block is marked done, by playing it to its end or by a reset.
  virtual void Done(const WAVEHDR& header) = 0;
};

class WaveOut {
 public:
  virtual ~WaveOut() = default;
  virtual std::uint32_t waveOutGetNumDevs() = 0;
  virtual MMRESULT waveOutGetDevCapsA(std::uint32_t device_id, WAVEOUTCAPS* caps) = 0;
  // With WAVE_FORMAT_QUERY only tells whether the format can be played.
  virtual MMRESULT waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id,
                               const WAVEFORMATEX* format, HWND callback, std::uint32_t flags) = 0;
  virtual MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
  virtual MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
  virtual MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header) = 0;
  // Stops output, marks every written block done (posting MM_WOM_DONE for
  // each), sets the byte counter to 0 and ends a pause.
  virtual MMRESULT waveOutReset(HWAVEOUT handle) = 0;
  virtual MMRESULT waveOutPause(HWAVEOUT handle) = 0;
  virtual MMRESULT waveOutRestart(HWAVEOUT handle) = 0;
  // Bytes played since open or the last reset.
  virtual MMRESULT waveOutGetPosition(HWAVEOUT handle, MMTIME* time) = 0;
  // Refused with WAVERR_STILLPLAYING while blocks are queued.
  virtual MMRESULT waveOutClose(HWAVEOUT handle) = 0;
  // Volume: low word left, high word right, 0xFFFF full. The handle may be an
  // open device or WAVE_MAPPER; either way it is this program's own output.
  virtual MMRESULT waveOutGetVolume(HWAVEOUT handle, std::uint32_t* volume) = 0;
  virtual MMRESULT waveOutSetVolume(HWAVEOUT handle, std::uint32_t volume) = 0;
  virtual void SetObserver(WaveOutObserver* observer) = 0;
};

}  // namespace kelvarok
