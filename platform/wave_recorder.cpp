#include "platform/wave_recorder.h"

#include <fstream>

namespace kelvarok {

namespace {
void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  out.insert(out.end(), tag, tag + 4);
}
}  // namespace

WaveRecorder::WaveRecorder(WaveOut& inner) : WaveOutForwarder(inner) {
  device().SetObserver(this);
}

WaveRecorder::~WaveRecorder() {
  device().SetObserver(nullptr);
}

MMRESULT WaveRecorder::waveOutOpen(HWAVEOUT* handle, std::uint32_t device_id,
                                   const WAVEFORMATEX* format, HWND callback, std::uint32_t flags) {
  const MMRESULT result = device().waveOutOpen(handle, device_id, format, callback, flags);
  if (result == MMSYSERR_NOERROR && (flags & WAVE_FORMAT_QUERY) == 0) {
    std::lock_guard lock(mutex_);
    if (!format_) format_ = *format;
  }
  return result;
}

void WaveRecorder::SetObserver(WaveOutObserver* observer) {
  std::lock_guard lock(mutex_);
  observer_ = observer;
}

void WaveRecorder::Played(std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  played_.insert(played_.end(), bytes.begin(), bytes.end());
  if (observer_ != nullptr) observer_->Played(bytes);
}

void WaveRecorder::Done(const WAVEHDR& header) {
  std::lock_guard lock(mutex_);
  if (observer_ != nullptr) observer_->Done(header);
}

bool WaveRecorder::Save(const std::filesystem::path& path) const {
  std::lock_guard lock(mutex_);
  if (!format_) return false;
  const auto data_size = static_cast<std::uint32_t>(played_.size());
  std::vector<std::uint8_t> file;
  PutTag(file, "RIFF");
  PutLe(file, 4 + 8 + 16 + 8 + data_size + (data_size & 1), 4);
  PutTag(file, "WAVE");
  PutTag(file, "fmt ");
  PutLe(file, 16, 4);
  PutLe(file, format_->wFormatTag, 2);
  PutLe(file, format_->nChannels, 2);
  PutLe(file, format_->nSamplesPerSec, 4);
  PutLe(file, format_->nAvgBytesPerSec, 4);
  PutLe(file, format_->nBlockAlign, 2);
  PutLe(file, format_->wBitsPerSample, 2);
  PutTag(file, "data");
  PutLe(file, data_size, 4);
  file.insert(file.end(), played_.begin(), played_.end());
  if ((data_size & 1) != 0) file.push_back(0);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace kelvarok
