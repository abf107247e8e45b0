#include "platform/riff_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <variant>

#include "platform/regular_file.h"

namespace kelvarok {

// A source of bytes: a memory image (memory set) or an open file.
struct MmioFile {
  const char* memory = nullptr;
  std::FILE* file = nullptr;
  std::uint64_t size = 0;
  std::uint64_t position = 0;
};

namespace {

std::uint64_t ReadAt(MmioFile& source, std::uint64_t offset, char* buffer, std::uint64_t count) {
  if (offset >= source.size) return 0;
  count = std::min(count, source.size - offset);
  if (source.memory != nullptr) {
    std::memcpy(buffer, source.memory + offset, count);
    return count;
  }
  if (std::fseek(source.file, static_cast<long>(offset), SEEK_SET) != 0) return 0;
  return std::fread(buffer, 1, count, source.file);
}

std::uint32_t Le32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Reads the chunk header at offset; false when the source ends inside it.
bool ReadHeader(MmioFile& source, std::uint64_t offset, MMCKINFO& chunk) {
  unsigned char header[12];
  if (ReadAt(source, offset, reinterpret_cast<char*>(header), 8) != 8) return false;
  chunk.ckid = Le32(header);
  chunk.cksize = Le32(header + 4);
  chunk.fccType = 0;
  chunk.dwFlags = 0;
  chunk.dwDataOffset = static_cast<std::uint32_t>(offset + 8);
  if (chunk.ckid == FOURCC_RIFF || chunk.ckid == FOURCC_LIST) {
    if (ReadAt(source, offset + 8, reinterpret_cast<char*>(header + 8), 4) != 4) return false;
    chunk.fccType = Le32(header + 8);
  }
  return true;
}

bool Wanted(const MMCKINFO& found, FOURCC id, FOURCC type, std::uint32_t flags) {
  if ((flags & MMIO_FINDRIFF) != 0) return found.ckid == FOURCC_RIFF && found.fccType == type;
  if ((flags & MMIO_FINDLIST) != 0) return found.ckid == FOURCC_LIST && found.fccType == type;
  if ((flags & MMIO_FINDCHUNK) != 0) return found.ckid == id;
  return true;
}

std::uint64_t ChunkEnd(const MMCKINFO& chunk) {
  return std::uint64_t{chunk.dwDataOffset} + chunk.cksize + (chunk.cksize & 1);
}

}  // namespace

HMMIO mmioOpen(const char* path, MMIOINFO* info, std::uint32_t) {
  auto fail = [info](std::uint32_t error) -> HMMIO {
    if (info != nullptr) info->wErrorRet = error;
    return nullptr;
  };
  if (info != nullptr && info->fccIOProc == FOURCC_MEM) {
    if (info->cchBuffer < 0 || (info->pchBuffer == nullptr && info->cchBuffer > 0)) {
      return fail(MMIOERR_OUTOFMEMORY);
    }
    info->wErrorRet = 0;
    return new MmioFile{info->pchBuffer, nullptr, static_cast<std::uint64_t>(info->cchBuffer), 0};
  }
  if (info != nullptr && info->fccIOProc != 0) return fail(MMIOERR_INVALIDFILE);
  if (path == nullptr) return fail(MMIOERR_FILENOTFOUND);
  // Only a regular file of a wave's size: a FIFO would block, and a device
  // or a huge file would be read without end.
  const auto opened = OpenRegularFile(path, kLargestWaveFile);
  if (std::holds_alternative<FileRefusal>(opened)) return fail(MMIOERR_CANNOTOPEN);
  std::FILE* file = ::fdopen(std::get<int>(opened), "rb");
  if (file == nullptr) {
    ::close(std::get<int>(opened));
    return fail(MMIOERR_CANNOTOPEN);
  }
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size < 0) {
    std::fclose(file);
    return fail(MMIOERR_CANNOTSEEK);
  }
  if (info != nullptr) info->wErrorRet = 0;
  return new MmioFile{nullptr, file, static_cast<std::uint64_t>(size), 0};
}

std::uint32_t mmioClose(HMMIO file, std::uint32_t) {
  if (file == nullptr) return MMIOERR_INVALIDFILE;
  if (file->file != nullptr) std::fclose(file->file);
  delete file;
  return 0;
}

std::int32_t mmioRead(HMMIO file, char* buffer, std::int32_t count) {
  if (file == nullptr || buffer == nullptr || count < 0) return -1;
  const std::uint64_t read =
      ReadAt(*file, file->position, buffer, static_cast<std::uint64_t>(count));
  file->position += read;
  return static_cast<std::int32_t>(read);
}

std::int32_t mmioSeek(HMMIO file, std::int32_t offset, int origin) {
  if (file == nullptr) return -1;
  std::int64_t base = 0;
  if (origin == SEEK_CUR) base = static_cast<std::int64_t>(file->position);
  if (origin == SEEK_END) base = static_cast<std::int64_t>(file->size);
  const std::int64_t target = base + offset;
  if (target < 0 || target > INT32_MAX) return -1;
  file->position = static_cast<std::uint64_t>(target);
  return static_cast<std::int32_t>(target);
}

std::uint32_t mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent,
                          std::uint32_t flags) {
  if (file == nullptr || chunk == nullptr) return MMIOERR_INVALIDFILE;
  const std::uint64_t limit =
      parent != nullptr ? std::min(file->size, ChunkEnd(*parent)) : file->size;
  const FOURCC id = chunk->ckid;
  const FOURCC type = chunk->fccType;
  std::uint64_t offset = file->position;
  MMCKINFO found;
  while (offset + 8 <= limit && ReadHeader(*file, offset, found)) {
    if (Wanted(found, id, type, flags)) {
      *chunk = found;
      const bool has_type = found.ckid == FOURCC_RIFF || found.ckid == FOURCC_LIST;
      file->position = std::uint64_t{found.dwDataOffset} + (has_type ? 4 : 0);
      return 0;
    }
    offset = ChunkEnd(found);
  }
  return MMIOERR_CHUNKNOTFOUND;
}

std::uint32_t mmioAscend(HMMIO file, MMCKINFO* chunk, std::uint32_t) {
  if (file == nullptr || chunk == nullptr) return MMIOERR_INVALIDFILE;
  file->position = ChunkEnd(*chunk);
  return 0;
}

}  // namespace kelvarok
