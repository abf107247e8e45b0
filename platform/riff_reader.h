// Buffered reading of RIFF files with the meanings of the Windows mmio
// functions, over a file or over a memory image (I/O procedure "MEM "). Every
// operation stays inside the source, whatever the chunk sizes claim.
#pragma once

#include <cstdint>
#include <memory>

namespace kelvarok {

using FOURCC = std::uint32_t;

constexpr FOURCC mmioFOURCC(char a, char b, char c, char d) {
  return static_cast<FOURCC>(static_cast<unsigned char>(a)) |
         static_cast<FOURCC>(static_cast<unsigned char>(b)) << 8 |
         static_cast<FOURCC>(static_cast<unsigned char>(c)) << 16 |
         static_cast<FOURCC>(static_cast<unsigned char>(d)) << 24;
}

constexpr FOURCC FOURCC_RIFF = mmioFOURCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = mmioFOURCC('L', 'I', 'S', 'T');
constexpr FOURCC FOURCC_MEM = mmioFOURCC('M', 'E', 'M', ' ');

constexpr std::uint32_t MMIO_READ = 0x0000;
constexpr std::uint32_t MMIO_ALLOCBUF = 0x00010000;
constexpr std::uint32_t MMIO_FINDCHUNK = 0x0010;
constexpr std::uint32_t MMIO_FINDRIFF = 0x0020;
constexpr std::uint32_t MMIO_FINDLIST = 0x0040;

constexpr std::uint32_t MMIOERR_FILENOTFOUND = 257;
constexpr std::uint32_t MMIOERR_OUTOFMEMORY = 258;
constexpr std::uint32_t MMIOERR_CANNOTOPEN = 259;
constexpr std::uint32_t MMIOERR_CANNOTSEEK = 263;
constexpr std::uint32_t MMIOERR_CHUNKNOTFOUND = 265;
constexpr std::uint32_t MMIOERR_INVALIDFILE = 272;

// Describes the source to mmioOpen. For a memory image: fccIOProc FOURCC_MEM,
// pchBuffer and cchBuffer the image, adwInfo[0] the growth increment (a read-
// only image does not grow). wErrorRet receives the reason of a failed open.
struct MMIOINFO {
  std::uint32_t dwFlags = 0;
  FOURCC fccIOProc = 0;
  std::uint32_t wErrorRet = 0;
  std::int32_t cchBuffer = 0;
  char* pchBuffer = nullptr;
  std::uint32_t adwInfo[3] = {};
};

struct MMCKINFO {
  FOURCC ckid = 0;
  std::uint32_t cksize = 0;
  FOURCC fccType = 0;
  std::uint32_t dwDataOffset = 0;
  std::uint32_t dwFlags = 0;
};

struct MmioFile;
using HMMIO = MmioFile*;

// A memory image when info describes one, otherwise the file at path. Null on
// failure, the reason in info->wErrorRet when info is given. Only reading is
// offered.
HMMIO mmioOpen(const char* path, MMIOINFO* info, std::uint32_t flags);
std::uint32_t mmioClose(HMMIO file, std::uint32_t flags);
// Bytes read (0 at the end of the source), or -1 on error.
std::int32_t mmioRead(HMMIO file, char* buffer, std::int32_t count);
// The new position, or -1; origin is SEEK_SET, SEEK_CUR or SEEK_END.
std::int32_t mmioSeek(HMMIO file, std::int32_t offset, int origin);
// Finds the next chunk from the current position (inside parent, if given) and
// enters it; with a FIND flag only a chunk of chunk->ckid (RIFF / LIST: of form
// type chunk->fccType) is taken. MMIOERR_CHUNKNOTFOUND when none is.
std::uint32_t mmioDescend(HMMIO file, MMCKINFO* chunk, const MMCKINFO* parent, std::uint32_t flags);
// Moves behind the chunk (and its pad byte).
std::uint32_t mmioAscend(HMMIO file, MMCKINFO* chunk, std::uint32_t flags);

}  // namespace kelvarok
