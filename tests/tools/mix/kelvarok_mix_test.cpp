// kelvarok-mix as scripts drive it: outputs, logs, messages and exit codes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/sound/wave_image.h"

namespace kelvarok::testing {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string err;
};

class KelvarokMix : public ::testing::Test {
 protected:
  KelvarokMix() : dir_(fs::path(::testing::TempDir()) / ("kelvarok_mix_" + Name())) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  static std::string Name() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  fs::path Path(const std::string& name) const { return dir_ / name; }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  void WriteWave(const std::string& name, const WaveSpec& spec) const {
    const auto image = WaveImage(spec);
    Write(name, std::string(image.begin(), image.end()));
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
  }
  std::vector<std::uint8_t> Bytes(const std::string& name) const {
    const std::string text = Read(name);
    return {text.begin(), text.end()};
  }
  Result Run(const std::string& arguments) const {
    // A tool that blocks on a file fails the test instead of hanging it.
    const std::string command = "cd '" + dir_.string() +
                                "' && timeout 60 '" KELVAROK_MIX_PATH "' " + arguments + " 2> '" +
                                Path("stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), Read("stderr.txt")};
  }

 private:
  fs::path dir_;
};

TEST_F(KelvarokMix, ConvertWritesTheConvertedSamples) {
  WriteWave("boom.wav", {1, 1, 22050, 8, {100, 110, 200, 210, 50, 60}});
  struct Case {
    const char* options;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {"", {105, 205, 50}},
      {"--channels 2", {105, 105, 205, 205, 50, 50}},
      {"--rate 22", {100, 110, 200, 210, 50, 60}},
      {"--rate 44 --channels 1", {100, 105, 110, 155, 200, 205, 210, 130, 50, 55, 60, 60}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const Result result = Run(std::string("convert ") + c.options + " boom.wav out.raw");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Bytes("out.raw"), c.expected);
  }
  Write("stereo.ini", "[general]\nWaveOutDevice=0\n[Virtual Wave Out]\nSamplesPerSec=22\n");
  EXPECT_EQ(Run("convert --ini stereo.ini boom.wav out.raw").status, 0);
  EXPECT_EQ(Bytes("out.raw").size(), 6u);
}

TEST_F(KelvarokMix, ConvertRefusals) {
  Write("text.wav", "not a wave at all");
  WriteWave("adpcm.wav", {2, 1, 11025, 4, {1, 2}});
  struct Case {
    const char* arguments;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {"convert text.wav out.raw", 1, "This is not a WAVE file\n"},
      {"convert adpcm.wav out.raw", 1, "The file is not a PCM file\n"},
      {"convert missing.wav out.raw", 1, "Failed to open wave file missing.wav\n"},
      {"convert --rate 16 text.wav out.raw", 2, ""},
      {"convert --channels 3 text.wav out.raw", 2, ""},
      {"convert text.wav", 2, ""},
      {"mix a b", 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.status, c.status);
    if (c.status == 1) {
      EXPECT_EQ(result.err, c.err);
    } else {
      EXPECT_NE(result.err.find("usage: kelvarok-mix"), std::string::npos);
    }
  }
}

TEST_F(KelvarokMix, RenderPlaysAndLogsTheDeviceOperations) {
  WriteWave("shot.wav", {1, 1, 11025, 8, Ramp(2230, 5)});
  Write("play.txt",
        "# one shot, then an error that does not end the run\n"
        "0 open count 3\n"
        "0 load shot shot.wav\n"
        "0 activate on\n"
        "10 play 2 shot clear   # the first block is written at 10\n"
        "20 play 9 shot\n"
        "600 end\n");
  const Result result = Run("render --log log.txt play.txt out.raw");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "20 error Invalid channel number\n");
  EXPECT_EQ(Read("log.txt"),
            "0 open\n"
            "10 pause\n"
            "10 write 0 2048\n"
            "10 write 2048 2048\n"
            "10 restart\n"
            "20 error Invalid channel number\n"
            "196 done 0\n"
            "382 done 2048\n"
            "600 reset\n"
            "600 close\n");
  std::vector<std::uint8_t> expected = Ramp(2229, 5);
  expected.resize(4096, 128);
  EXPECT_EQ(Bytes("out.raw"), expected);
}

TEST_F(KelvarokMix, RenderedResetKeepsOnlyWhatWasPlayed) {
  WriteWave("long.wav", {1, 1, 11025, 8, std::vector<std::uint8_t>(8000, 200)});
  Write("cut.txt",
        "0 open all\n0 load long long.wav\n0 activate on\n0 play 0 long\n"
        "100 flush 0\n150 end\n");
  Write("two.ini", "[default]\nWaveBlocks=2\n");
  ASSERT_EQ(Run("render --ini two.ini --log log.txt cut.txt out.raw").status, 0);
  EXPECT_EQ(Read("log.txt"),
            "0 open\n0 pause\n0 write 0 2048\n0 write 2048 2048\n0 restart\n"
            "100 reset\n100 done 0\n100 done 2048\n100 pause\n100 restart\n"
            "150 reset\n150 close\n");
  EXPECT_EQ(Bytes("out.raw"), std::vector<std::uint8_t>(1102, 200));
}

TEST_F(KelvarokMix, MalformedScriptsRunNothing) {
  WriteWave("a.wav", {1, 1, 11025, 8, Ramp(10)});
  struct Case {
    const char* script;
    const char* err;
  };
  const Case cases[] = {
      {"0 open 1\nx open 2\n", "line 2: expected a time in milliseconds\n"},
      {"5 open 1\n4 open 2\n", "line 2: time goes backwards\n"},
      {"0 dance\n", "line 1: unknown command dance\n"},
      {"0 play 0 a\n", "line 1: unknown wave a\n"},
      {"0 load a a.wav\n0 play 0 a fast\n", "line 2: unknown play option fast\n"},
      {"0 load a a.wav\n0 play 0 a loops 70000\n", "line 2: expected a loop count 0..65535\n"},
      {"0 activate maybe\n", "line 1: expected on or off\n"},
      {"0 flush 1 now\n", "line 1: expected noremix\n"},
      {"0 close\n", "line 1: missing channel\n"},
      {"0 open count x\n", "line 1: expected a channel number\n"},
      {"0 load a\n", "line 1: missing file name\n"},
      {"0 end\n1 open 1\n", "line 2: nothing may follow end\n"},
      {"0 activate on off\n", "line 1: unexpected off\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    Write("bad.txt", c.script);
    fs::remove(Path("out.raw"));
    const Result result = Run("render --log log.txt bad.txt out.raw");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, c.err);
    EXPECT_FALSE(fs::exists(Path("out.raw")));
  }
  fs::create_directories(Path("scripts"));
  const Result directory = Run("render scripts out.raw");
  EXPECT_EQ(directory.status, 2);
  EXPECT_EQ(directory.err, "kelvarok-mix: scripts is a directory\n");
  EXPECT_FALSE(fs::exists(Path("out.raw")));
}

// Every file the tool reads must be a regular file of a real size: a FIFO
// would block it, a device or a huge sparse file would fill its memory.
TEST_F(KelvarokMix, FilesThatAreNotRegularOrTooLargeAreRefused) {
  WriteWave("a.wav", {1, 1, 11025, 8, Ramp(10)});
  Write("play.txt", "0 open all\n0 load a a.wav\n0 activate on\n0 play 0 a\n10 end\n");
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  Write("huge.wav", "");
  fs::resize_file(Path("huge.wav"), std::uintmax_t{300} << 20);
  Write("huge.txt", "");
  fs::resize_file(Path("huge.txt"), std::uintmax_t{65} << 20);
  fs::create_symlink("/dev/zero", Path("zero"));
  struct Case {
    const char* arguments;
    const char* err;
  };
  const Case cases[] = {
      {"render fifo out.raw", "kelvarok-mix: cannot read 'fifo': not a regular file\n"},
      {"render huge.txt out.raw",
       "kelvarok-mix: cannot read 'huge.txt': larger than 67108864 bytes\n"},
      {"render --ini fifo play.txt out.raw",
       "kelvarok-mix: cannot read 'fifo': not a regular file\n"},
      {"convert fifo out.raw", "Failed to open wave file fifo\n"},
      {"convert zero out.raw", "Failed to open wave file zero\n"},
      {"convert huge.wav out.raw", "Failed to open wave file huge.wav\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Result result = Run(c.arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, c.err);
  }
}

}  // namespace
}  // namespace kelvarok::testing
