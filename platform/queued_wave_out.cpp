#include "platform/queued_wave_out.h"

#include <algorithm>
#include <cstring>

namespace kelvarok {

class QueuedWaveOut::Guard {
 public:
  explicit Guard(QueuedWaveOut& device) : device_(device) { device_.Lock(); }
  ~Guard() { device_.Unlock(); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  QueuedWaveOut& device_;
};

bool QueuedWaveOut::CanPlay(const WAVEFORMATEX& format) {
  return format.wFormatTag == WAVE_FORMAT_PCM &&
         (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
         (format.nChannels == 1 || format.nChannels == 2) && format.nSamplesPerSec > 0 &&
         format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8;
}

MMRESULT QueuedWaveOut::waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id,
                                    const WAVEFORMATEX* format, HWND callback,
                                    std::uint32_t flags) {
  if (format == nullptr) return MMSYSERR_INVALPARAM;
  if (!ValidDevice(device_id)) return MMSYSERR_BADDEVICEID;
  if (!CanPlay(*format)) return WAVERR_BADFORMAT;
  if ((flags & WAVE_FORMAT_QUERY) != 0) return MMSYSERR_NOERROR;
  if (handle == nullptr) return MMSYSERR_INVALPARAM;
  if (handle_ != 0) return MMSYSERR_ALLOCATED;
  {
    Guard guard(*this);
    format_ = *format;
    callback_ = (flags & CALLBACK_WINDOW) != 0 ? callback : 0;
    paused_ = false;
    played_bytes_ = 0;
    at_rest_ = true;
    handle_ = ++last_handle_;
  }
  const MMRESULT opened = OpenDevice(device_id, *format);
  if (opened != MMSYSERR_NOERROR) {
    Guard guard(*this);
    handle_ = 0;
    return opened;
  }
  *handle = handle_;
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || header->lpData == nullptr) return MMSYSERR_INVALPARAM;
  header->dwFlags.fetch_or(WHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (header == nullptr) return MMSYSERR_INVALPARAM;
  if ((header->dwFlags.load() & WHDR_INQUEUE) != 0) return WAVERR_STILLPLAYING;
  header->dwFlags.fetch_and(~WHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutWrite(HWAVEOUT handle, WAVEHDR* header) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || header->lpData == nullptr) return MMSYSERR_INVALPARAM;
  const std::uint32_t flags = header->dwFlags.load();
  if ((flags & WHDR_PREPARED) == 0) return WAVERR_UNPREPARED;
  if ((flags & WHDR_INQUEUE) != 0) return WAVERR_STILLPLAYING;
  Guard guard(*this);
  std::vector<std::uint8_t> bytes;
  if (!spare_buffers_.empty()) {
    bytes = std::move(spare_buffers_.back());
    spare_buffers_.pop_back();
  }
  const auto* data = reinterpret_cast<const std::uint8_t*>(header->lpData);
  bytes.assign(data, data + header->dwBufferLength);
  header->dwFlags.store((flags & ~WHDR_DONE) | WHDR_INQUEUE);
  queue_.push_back(Queued{header, std::move(bytes), 0});
  return MMSYSERR_NOERROR;
}

void QueuedWaveOut::FinishFront() {
  Queued finished = std::move(queue_.front());
  queue_.pop_front();
  WAVEHDR* header = finished.header;
  header->dwFlags.store((header->dwFlags.load() & ~WHDR_INQUEUE) | WHDR_DONE);
  spare_buffers_.push_back(std::move(finished.bytes));
  if (observer_ != nullptr) observer_->Done(*header);
  if (callback_ != 0) {
    messages_.PostMessageA(callback_, MM_WOM_DONE, handle_, reinterpret_cast<LPARAM>(header));
  }
}

std::size_t QueuedWaveOut::Consume(std::span<std::uint8_t> out) {
  const std::uint32_t first_byte = played_bytes_;
  std::size_t count = 0;
  while (!paused_ && !queue_.empty()) {
    Queued& front = queue_.front();
    const std::size_t take = std::min(out.size() - count, front.bytes.size() - front.played);
    std::memcpy(out.data() + count, front.bytes.data() + front.played, take);
    front.played += take;
    count += take;
    if (front.played < front.bytes.size()) break;
    FinishFront();
  }
  played_bytes_ += static_cast<std::uint32_t>(count);
  CountUnderrun(out.first(count), out.size());
  ApplyVolume(out.first(count), first_byte);
  if (observer_ != nullptr && count > 0) observer_->Played(out.first(count));
  return count;
}

// Judged on the bytes as mixed, before volume: a quiet setting does not hide
// a gap in the stream.
void QueuedWaveOut::CountUnderrun(std::span<const std::uint8_t> taken, std::size_t wanted) {
  if (!taken.empty()) {
    const std::size_t last_frame = std::min<std::size_t>(format_.nBlockAlign, taken.size());
    at_rest_ = std::all_of(taken.end() - static_cast<std::ptrdiff_t>(last_frame), taken.end(),
                           [this](std::uint8_t byte) { return byte == SilenceByte(); });
  }
  if (taken.size() < wanted && !paused_ && !at_rest_) {
    ++underruns_;
    at_rest_ = true;
  }
}

// Scales each sample toward silence by the volume of its side; full volume
// leaves the bytes untouched.
void QueuedWaveOut::ApplyVolume(std::span<std::uint8_t> bytes, std::uint64_t first_byte) const {
  const std::uint32_t volume = volume_.load();
  if (volume == 0xFFFFFFFF) return;
  const std::int32_t sides[2] = {static_cast<std::int32_t>(volume & 0xFFFF),
                                 static_cast<std::int32_t>(volume >> 16)};
  const bool sixteen = format_.wBitsPerSample == 16;
  const std::size_t sample_bytes = sixteen ? 2 : 1;
  for (std::size_t i = 0; i + sample_bytes <= bytes.size(); i += sample_bytes) {
    const std::uint64_t sample_index = (first_byte + i) / sample_bytes;
    const std::int32_t side = sides[format_.nChannels == 2 ? sample_index % 2 : 0];
    if (sixteen) {
      const auto value = static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8));
      const auto scaled = static_cast<std::uint16_t>(value * side / 0xFFFF);
      bytes[i] = static_cast<std::uint8_t>(scaled & 0xFF);
      bytes[i + 1] = static_cast<std::uint8_t>(scaled >> 8);
    } else {
      bytes[i] = static_cast<std::uint8_t>(128 + (bytes[i] - 128) * side / 0xFFFF);
    }
  }
}

MMRESULT QueuedWaveOut::waveOutReset(HWAVEOUT handle) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  Guard guard(*this);
  Resetting();
  while (!queue_.empty()) FinishFront();
  played_bytes_ = 0;
  paused_ = false;
  at_rest_ = true;  // stopped on purpose
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutPause(HWAVEOUT handle) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  Guard guard(*this);
  paused_ = true;
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutRestart(HWAVEOUT handle) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  Guard guard(*this);
  paused_ = false;
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutGetPosition(HWAVEOUT handle, MMTIME* time) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (time == nullptr) return MMSYSERR_INVALPARAM;
  Guard guard(*this);
  time->wType = TIME_BYTES;
  time->cb = played_bytes_;
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutClose(HWAVEOUT handle) {
  if (!IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  {
    Guard guard(*this);
    if (!queue_.empty()) return WAVERR_STILLPLAYING;
  }
  CloseDevice();
  handle_ = 0;
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutGetVolume(HWAVEOUT handle, std::uint32_t* volume) {
  if (handle != WAVE_MAPPER && !IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (volume == nullptr) return MMSYSERR_INVALPARAM;
  *volume = volume_.load();
  return MMSYSERR_NOERROR;
}

MMRESULT QueuedWaveOut::waveOutSetVolume(HWAVEOUT handle, std::uint32_t volume) {
  if (handle != WAVE_MAPPER && !IsHandle(handle)) return MMSYSERR_INVALHANDLE;
  volume_.store(volume);
  return MMSYSERR_NOERROR;
}

std::uint32_t QueuedWaveOut::Underruns() {
  Guard guard(*this);
  return underruns_;
}

void QueuedWaveOut::SetObserver(WaveOutObserver* observer) {
  Guard guard(*this);
  observer_ = observer;
}

}  // namespace kelvarok
