#include "sound/wave_open.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "platform/riff_reader.h"
#include "sound/mixer_messages.h"
#include "sound/wave_convert.h"

namespace kelvarok {

namespace {

// The opened source: the mmio handle and, for a resource, the loaded
// resource. Both are released when it goes.
struct OpenedSource {
  HMMIO file = nullptr;
  WaveResourceModule* module = nullptr;
  WaveResource resource;

  OpenedSource() = default;
  OpenedSource(const OpenedSource&) = delete;
  OpenedSource& operator=(const OpenedSource&) = delete;
  OpenedSource(OpenedSource&& other) noexcept
      : file(std::exchange(other.file, nullptr)),
        module(std::exchange(other.module, nullptr)),
        resource(other.resource) {}
  ~OpenedSource() {
    if (file != nullptr) mmioClose(file, 0);
    if (module != nullptr) module->FreeResource(resource);
  }
};

std::uint16_t Le16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}
std::uint32_t Le32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(Le16(bytes)) | static_cast<std::uint32_t>(Le16(bytes + 2))
                                                       << 16;
}

WAVEFORMATEX ParseFormat(const unsigned char* bytes) {
  return WAVEFORMATEX{Le16(bytes),     Le16(bytes + 2),  Le32(bytes + 4),
                      Le32(bytes + 8), Le16(bytes + 12), Le16(bytes + 14)};
}

std::size_t FrameBytes(const WAVEFORMATEX& format) {
  return std::size_t{format.nChannels} * ((format.wBitsPerSample + 7u) / 8u);
}

// Bytes left from the current position to the end of the source.
std::uint64_t BytesLeft(HMMIO file) {
  const std::int32_t here = mmioSeek(file, 0, SEEK_CUR);
  const std::int32_t end = mmioSeek(file, 0, SEEK_END);
  mmioSeek(file, here, SEEK_SET);
  return here < 0 || end < here ? 0 : static_cast<std::uint64_t>(end - here);
}

// A wave record from the mixer's memory that goes back unless handed on.
struct WaveRecordRelease {
  MixerMemory* memory;
  void operator()(TMixWave* wave) const { ReleaseWave(*memory, wave); }
};

OpenedSource OpenSource(const void* source, WaveResourceModule* module, std::uint32_t flags) {
  OpenedSource opened;
  if ((flags & MixWaveFromResource) != 0) {
    const auto* name = static_cast<const char*>(source);
    WaveResource resource;
    if (module == nullptr || !module->LoadWaveResource(name, &resource)) {
      const std::string which =
          IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<std::uintptr_t>(name) & 0xFFFF)
                               : std::string(name);
      throw EWaveMixError("Failed to open \"WAVE\" resource " + which);
    }
    opened.module = module;
    opened.resource = resource;
    const char* bytes = module->LockResource(resource);
    if (bytes == nullptr) throw EWaveMixError("Failed to lock \"WAVE\" resource");
    MMIOINFO info;
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = const_cast<char*>(bytes);
    info.cchBuffer = static_cast<std::int32_t>(resource.size);
    opened.file = mmioOpen(nullptr, &info, MMIO_READ);
    if (opened.file == nullptr) {
      throw EWaveMixError(
          "Failed to open resource, mmioOpen error= " + std::to_string(info.wErrorRet) +
          ".#13May need to make sure resource is marked read-write");
    }
  } else if ((flags & MixWaveFromMemory) != 0) {
    MMIOINFO info;
    if (source != nullptr) info = *static_cast<const MMIOINFO*>(source);
    opened.file = source != nullptr ? mmioOpen(nullptr, &info, MMIO_READ) : nullptr;
    if (opened.file == nullptr) {
      const std::uint32_t error = source != nullptr ? info.wErrorRet : MMIOERR_INVALIDFILE;
      throw EWaveMixError("Failed to open memory file, mmioOpen error=" + std::to_string(error) +
                          ".#13May need to make sure memory is read-write");
    }
  } else {
    const auto* path = static_cast<const char*>(source);
    opened.file = mmioOpen(path, nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (opened.file == nullptr) {
      throw EWaveMixError(std::string("Failed to open wave file ") + (path != nullptr ? path : ""));
    }
  }
  return opened;
}

}  // namespace

TMixWave* OpenWave(const TMixSession& session, WaveOut& wave_out, MixerMemory& memory,
                   const void* source, WaveResourceModule* module, std::uint32_t flags) {
  if (wave_out.waveOutOpen(nullptr, static_cast<std::uint32_t>(session.DeviceId), &session.Format,
                           0, WAVE_FORMAT_QUERY) != MMSYSERR_NOERROR) {
    throw EWaveMixError("The waveform device can\u00B4t play this format");
  }
  void* record = memory.Allocate(sizeof(TMixWave));
  if (record == nullptr) throw EWaveMixError(kOutOfMemoryMessage);
  std::unique_ptr<TMixWave, WaveRecordRelease> wave(new (record) TMixWave{},
                                                    WaveRecordRelease{&memory});

  const OpenedSource opened = OpenSource(source, module, flags);
  HMMIO file = opened.file;
  MMCKINFO riff;
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != 0) {
    throw EWaveMixError("This is not a WAVE file");
  }
  MMCKINFO format_chunk;
  format_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  if (mmioDescend(file, &format_chunk, &riff, MMIO_FINDCHUNK) != 0) {
    throw EWaveMixError("WAVE file is corrupted");
  }
  unsigned char format_bytes[16];
  if (format_chunk.cksize < sizeof format_bytes ||
      mmioRead(file, reinterpret_cast<char*>(format_bytes), sizeof format_bytes) !=
          static_cast<std::int32_t>(sizeof format_bytes)) {
    throw EWaveMixError("Failed to read format chunk");
  }
  wave->Format = ParseFormat(format_bytes);
  if (wave->Format.wFormatTag != WAVE_FORMAT_PCM) throw EWaveMixError("The file is not a PCM file");

  mmioAscend(file, &format_chunk, 0);
  MMCKINFO data_chunk;
  data_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  if (mmioDescend(file, &data_chunk, &riff, MMIO_FINDCHUNK) != 0) {
    throw EWaveMixError("WAVE file has no data chunk");
  }
  if (data_chunk.cksize == 0) throw EWaveMixError("The data chunk has no data");
  // A size beyond the source's end can only be read short; it is refused
  // before anything that large is allocated.
  if (BytesLeft(file) < data_chunk.cksize) throw EWaveMixError("Failed to read data chunk");
  MixBuffer samples = AllocateSamples(memory, data_chunk.cksize);
  if (mmioRead(file, reinterpret_cast<char*>(samples.data()),
               static_cast<std::int32_t>(samples.size())) !=
      static_cast<std::int32_t>(samples.size())) {
    throw EWaveMixError("Failed to read data chunk");
  }

  if (samples.size() <
      std::max(FrameBytes(wave->Format), std::size_t{session.Format.nBlockAlign})) {
    throw EWaveMixError(kFormatNotSupportedMessage);
  }
  samples = ConvertWave(std::move(samples), wave->Format, session.Format, memory);
  if (samples.size() == 0) throw EWaveMixError("Failed to convert wave format");

  wave->Header.dwBufferLength = static_cast<std::uint32_t>(samples.size());
  wave->Header.lpData = reinterpret_cast<char*>(samples.Release());
  const bool named = (flags & MixWaveFromMemory) == 0 || (flags & MixWaveFromResource) != 0;
  if (named && source != nullptr) {
    const std::string name =
        IS_INTRESOURCE(source)
            ? "res#" + std::to_string(reinterpret_cast<std::uintptr_t>(source) & 0xFFFF)
            : std::string(static_cast<const char*>(source));
    name.copy(wave->Name, kWaveNameSize - 1);
  }
  return wave.release();
}

void ReleaseWave(MixerMemory& memory, TMixWave* wave) {
  if (wave->Header.lpData != nullptr) memory.Release(wave->Header.lpData);
  wave->~TMixWave();
  memory.Release(wave);
}

}  // namespace kelvarok
