// The RIFF reader over memory images and files, and its bounds on damaged
// input.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/riff_reader.h"
#include "tests/sound/wave_image.h"

namespace kelvarok::testing {
namespace {

class Reader {
 public:
  explicit Reader(std::vector<std::uint8_t> image) : image_(std::move(image)) {
    MMIOINFO info = MemoryInfo(image_);
    file_ = mmioOpen(nullptr, &info, MMIO_READ);
  }
  ~Reader() {
    if (file_ != nullptr) mmioClose(file_, 0);
  }
  HMMIO file() const { return file_; }

 private:
  std::vector<std::uint8_t> image_;
  HMMIO file_;
};

TEST(RiffReader, DescendFindsChunksInsideTheirParent) {
  const auto image = Riff(
      {Chunk("fmt ", {1, 2, 3}), Chunk("LIST", {'I', 'N', 'F', 'O'}), Chunk("data", {9, 8, 7, 6})});
  Reader reader(image);
  MMCKINFO riff;
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioDescend(reader.file(), &riff, nullptr, MMIO_FINDRIFF), 0u);
  EXPECT_EQ(riff.dwDataOffset, 8u);
  EXPECT_EQ(riff.cksize, image.size() - 8);

  MMCKINFO list;
  list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
  ASSERT_EQ(mmioDescend(reader.file(), &list, &riff, MMIO_FINDLIST), 0u);
  EXPECT_EQ(list.dwDataOffset, 12u + 12 + 8);  // behind fmt and its pad byte
  mmioAscend(reader.file(), &list, 0);

  MMCKINFO data;
  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  ASSERT_EQ(mmioDescend(reader.file(), &data, &riff, MMIO_FINDCHUNK), 0u);
  char bytes[8];
  EXPECT_EQ(mmioRead(reader.file(), bytes, 8), 4) << "reading stops at the end of the image";
  EXPECT_EQ(bytes[0], 9);
  EXPECT_EQ(mmioRead(reader.file(), bytes, 8), 0);

  MMCKINFO missing;
  missing.ckid = mmioFOURCC('f', 'm', 't', ' ');
  EXPECT_EQ(mmioDescend(reader.file(), &missing, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND)
      << "the search goes forward only";
}

TEST(RiffReader, DamagedSizesStayInsideTheImage) {
  const std::vector<std::vector<std::uint8_t>> images = {
      {},
      {'R', 'I', 'F'},
      {'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0xFF, 'W', 'A'},
      Riff({Chunk("JUNK", {1}, 0xFFFFFFFE), Chunk("data", {1})}),
      Riff({Chunk("fmt ", {}, 0x7FFFFFFF)}),
  };
  for (const auto& image : images) {
    Reader reader(image);
    MMCKINFO riff;
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(reader.file(), &riff, nullptr, MMIO_FINDRIFF) != 0) continue;
    MMCKINFO data;
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    EXPECT_EQ(mmioDescend(reader.file(), &data, &riff, MMIO_FINDCHUNK), MMIOERR_CHUNKNOTFOUND);
    mmioAscend(reader.file(), &data, 0);
    char byte;
    EXPECT_LE(mmioRead(reader.file(), &byte, 1), 1);
  }
}

TEST(RiffReader, OpenFailures) {
  MMIOINFO info;
  info.fccIOProc = FOURCC_MEM;
  info.cchBuffer = 10;
  EXPECT_EQ(mmioOpen(nullptr, &info, MMIO_READ), nullptr);
  EXPECT_EQ(info.wErrorRet, MMIOERR_OUTOFMEMORY);
  info.cchBuffer = -1;
  EXPECT_EQ(mmioOpen(nullptr, &info, MMIO_READ), nullptr);
  MMIOINFO unknown;
  unknown.fccIOProc = mmioFOURCC('Z', 'I', 'P', ' ');
  EXPECT_EQ(mmioOpen("x", &unknown, MMIO_READ), nullptr);
  EXPECT_EQ(unknown.wErrorRet, MMIOERR_INVALIDFILE);
  EXPECT_EQ(mmioOpen("/no/such/file.wav", nullptr, MMIO_READ | MMIO_ALLOCBUF), nullptr);
}

TEST(RiffReader, FilesReadLikeMemory) {
  const auto image = WaveImage({1, 1, 11025, 8, Ramp(11)});
  const std::string path = ::testing::TempDir() + "riff_reader_test.wav";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  HMMIO file = mmioOpen(path.c_str(), nullptr, MMIO_READ | MMIO_ALLOCBUF);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(mmioSeek(file, 0, SEEK_END), static_cast<std::int32_t>(image.size()));
  EXPECT_EQ(mmioSeek(file, 0, SEEK_SET), 0);
  MMCKINFO riff;
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), 0u);
  MMCKINFO data;
  data.ckid = mmioFOURCC('d', 'a', 't', 'a');
  ASSERT_EQ(mmioDescend(file, &data, &riff, MMIO_FINDCHUNK), 0u);
  EXPECT_EQ(data.cksize, 11u);
  std::vector<char> bytes(11);
  EXPECT_EQ(mmioRead(file, bytes.data(), 11), 11);
  EXPECT_EQ(bytes[10], 10);
  mmioClose(file, 0);
}

}  // namespace
}  // namespace kelvarok::testing
