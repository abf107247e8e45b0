#include "platform/wave_recorder.h"

#include <algorithm>
#include <fstream>

namespace kelvarok {

namespace {
void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  out.insert(out.end(), tag, tag + 4);
}

constexpr std::size_t kHeaderBytes = 44;

// The RIFF header of a PCM WAV file whose data chunk holds data_size bytes.
std::vector<std::uint8_t> WavHeader(const WAVEFORMATEX& format, std::uint32_t data_size) {
  std::vector<std::uint8_t> file;
  file.reserve(kHeaderBytes);
  PutTag(file, "RIFF");
  PutLe(file, 4 + 8 + 16 + 8 + data_size + (data_size & 1), 4);
  PutTag(file, "WAVE");
  PutTag(file, "fmt ");
  PutLe(file, 16, 4);
  PutLe(file, format.wFormatTag, 2);
  PutLe(file, format.nChannels, 2);
  PutLe(file, format.nSamplesPerSec, 4);
  PutLe(file, format.nAvgBytesPerSec, 4);
  PutLe(file, format.nBlockAlign, 2);
  PutLe(file, format.wBitsPerSample, 2);
  PutTag(file, "data");
  PutLe(file, data_size, 4);
  return file;
}

void Write(std::ostream& out, std::span<const std::uint8_t> bytes) {
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
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
  if (stream_.is_open()) {
    Write(stream_, bytes);
    streamed_ += bytes.size();
  } else {
    played_.insert(played_.end(), bytes.begin(), bytes.end());
  }
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
  std::vector<std::uint8_t> file = WavHeader(*format_, data_size);
  file.insert(file.end(), played_.begin(), played_.end());
  if ((data_size & 1) != 0) file.push_back(0);
  std::ofstream out(path, std::ios::binary);
  Write(out, file);
  return static_cast<bool>(out);
}

bool WaveRecorder::StreamTo(const std::filesystem::path& path) {
  std::lock_guard lock(mutex_);
  stream_.open(path, std::ios::binary | std::ios::trunc);
  // The header's place; its sizes are only known at the end.
  const std::vector<std::uint8_t> placeholder(kHeaderBytes, 0);
  Write(stream_, placeholder);
  return static_cast<bool>(stream_);
}

bool WaveRecorder::FinishStream() {
  std::lock_guard lock(mutex_);
  if (!stream_.is_open()) return false;
  // A WAV file counts its bytes in 32 bits.
  const auto data_size =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(streamed_, 0xFFFFFFFEu));
  if ((data_size & 1) != 0) stream_.put(0);
  stream_.seekp(0);
  if (format_) Write(stream_, WavHeader(*format_, data_size));
  stream_.close();
  return format_.has_value() && !stream_.fail();
}

}  // namespace kelvarok
