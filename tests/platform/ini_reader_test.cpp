// GetPrivateProfileInt's reading of "WAVEMIX.INI".
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/ini_reader.h"

namespace kelvarok {
namespace {

TEST(IniReader, ValuesAsGetPrivateProfileIntReadsThem) {
  const std::string text =
      "; comment\n[General]\nWaveOutDevice = 1\n  [ default ]  \r\nremix=2\nWaveBlocks=\n"
      "GoodWavePos=abc\nWaveBlockLen=  -8 bytes\nSamplesPerSec=\"22\"\nBig=4294967297\n"
      "[default]\nRemix=5\n[Other]\nRemix=7";
  struct Case {
    const char* section;
    const char* key;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"general", "WAVEOUTDEVICE", 1},
      {"default", "Remix", 2},
      {"default", "WaveBlocks", 99},
      {"default", "GoodWavePos", 0},
      {"default", "WaveBlockLen", 0u - 8u},
      {"default", "SamplesPerSec", 22},
      {"default", "Big", 1},
      {"other", "remix", 7},
      {"missing", "Remix", 99},
      {"default", "Missing", 99},
  };
  IniTextReader reader(text);
  for (const Case& c : cases) {
    EXPECT_EQ(reader.GetPrivateProfileIntA(c.section, c.key, 99, "WAVEMIX.INI"), c.expected)
        << c.section << "/" << c.key;
  }
}

TEST(IniReader, BareNamesLiveInTheProfileDirectory) {
  const std::filesystem::path directory = ::testing::TempDir() + "ini_reader_test";
  std::filesystem::create_directories(directory);
  std::ofstream(directory / "WAVEMIX.INI") << "[default]\nWaveBlocks=5\n";
  IniFileReader reader(directory);
  EXPECT_EQ(reader.GetPrivateProfileIntA("default", "WaveBlocks", 3, "WAVEMIX.INI"), 5u);
  EXPECT_EQ(reader.GetPrivateProfileIntA("default", "WaveBlocks", 3, "OTHER.INI"), 3u);
  EXPECT_EQ(reader.GetPrivateProfileIntA("default", "WaveBlocks", -1,
                                         (directory / "WAVEMIX.INI").string()),
            5u);

  setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
  EXPECT_EQ(DefaultProfileDirectory(), directory);
  setenv("XDG_CONFIG_HOME", "", 1);
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(DefaultProfileDirectory(), std::filesystem::path("/home/player/.config"));
}

// A FIFO would block the start, a device or a huge file would fill the
// memory: each gives the defaults, and the reason is told once per file.
TEST(IniReader, FilesThatAreNotRegularOrTooLargeGiveTheDefaultsAndAreReportedOnce) {
  const std::filesystem::path directory = ::testing::TempDir() + "ini_reader_refusals";
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  ASSERT_EQ(::mkfifo((directory / "FIFO.INI").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", directory / "ZERO.INI");
  std::ofstream(directory / "HUGE.INI") << "[default]\nWaveBlocks=5\n";
  std::filesystem::resize_file(directory / "HUGE.INI", (1 << 20) + 1);
  std::vector<std::string> reports;
  IniFileReader reader(directory, [&](const std::string& report) { reports.push_back(report); });
  for (const char* name : {"FIFO.INI", "ZERO.INI", "HUGE.INI", "MISSING.INI"}) {
    for (int twice = 0; twice < 2; ++twice)
      EXPECT_EQ(reader.GetPrivateProfileIntA("default", "WaveBlocks", 3, name), 3u) << name;
  }
  const std::string path = directory.string() + "/";
  EXPECT_EQ(reports, (std::vector<std::string>{
                         "cannot read '" + path + "FIFO.INI': not a regular file",
                         "cannot read '" + path + "ZERO.INI': not a regular file",
                         "cannot read '" + path + "HUGE.INI': larger than 1048576 bytes",
                     }));
}

}  // namespace
}  // namespace kelvarok
