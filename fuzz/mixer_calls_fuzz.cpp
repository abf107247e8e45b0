// Fuzzes sequences of mixer calls on the virtual device. The input is a small
// program: a byte that picks the first session's output format, then steps of
// an opcode byte and its operand bytes (missing bytes read as 0):
//   0 open channel     mode (bits 0-1: single, all, count, unknown), channel
//   1 close channel    flags (bit 0: all), channel
//   2 load wave        which of the built-in waves
//   3 free wave        which loaded wave (none loaded: no wave)
//   4 play             wave, channel, flags (bits 0-3), loops (255: forever)
//   5 flush channel    flags (bit 0: all, bit 1: no remix), channel
//   6 activate         bit 0: on or off
//   7 pump             1 to 64 milliseconds of the device and the message loop
//   8 new session      frees the waves, closes the session, opens one in the
//                      format the operand picks
// A channel operand is read as -1 to 9, so refused channels are reached too.
// After every step the pool, the channel lists and the device queue must be
// consistent (mixer_invariants.h); the waves' buffers are exactly as long as
// their samples, so a read outside one is caught by AddressSanitizer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/mixer_invariants.h"
#include "fuzz/virtual_mixer.h"
#include "tests/sound/wave_image.h"

namespace {

using namespace kelvarok;
using testing::Ramp;
using testing::WaveSpec;

class Program {
 public:
  Program(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return next_ < size_; }
  std::uint8_t Next() { return next_ < size_ ? data_[next_++] : 0; }
  std::int32_t Channel() { return static_cast<std::int32_t>(Next() % 11) - 1; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

// Waves of every source shape the loader converts, short and long against
// the block length, of odd and even lengths.
const std::vector<WaveSpec>& BuiltInWaves() {
  static const std::vector<WaveSpec> waves = {
      {.data = Ramp(1)},
      {.data = Ramp(777, 9)},
      {.channels = 2, .rate = 22050, .bits = 16, .data = Ramp(3000, 3)},
      {.rate = 44100, .data = Ramp(5001, 5)},
      {.channels = 2, .rate = 11025, .data = Ramp(4500, 1)},
      {.rate = 8000, .bits = 16, .data = Ramp(2048, 2)},
  };
  return waves;
}

constexpr std::size_t kMaxWaves = 6;

class Run {
 public:
  explicit Run(std::uint8_t format) { Open(format); }
  ~Run() { Close(); }

  void Step(Program& program) {
    const std::uint8_t opcode = program.Next() % 9;
    try {
      Execute(opcode, program);
    } catch (const EWaveMixError&) {
      // Refusals are part of the interface; what matters is the state after.
    }
    fuzz::CheckMixer(mixer(), waves_);
  }

 private:
  MixerModule& mixer() { return rig_.mixer; }
  TMixWave* Wave(std::uint8_t which) const {
    return waves_.empty() ? nullptr : waves_[which % waves_.size()];
  }

  void Execute(std::uint8_t opcode, Program& program) {
    switch (opcode) {
      case 0: {
        const std::uint8_t mode = program.Next() & 3;
        mixer().WaveMixOpenChannel(session_, program.Channel(), mode);
        break;
      }
      case 1: {
        const std::uint32_t flags = program.Next() & MixChannelAll;
        mixer().WaveMixCloseChannel(session_, program.Channel(), flags);
        break;
      }
      case 2: {
        const WaveSpec& spec = BuiltInWaves()[program.Next() % BuiltInWaves().size()];
        if (waves_.size() == kMaxWaves) break;
        std::vector<std::uint8_t> image = testing::WaveImage(spec);
        MMIOINFO info = testing::MemoryInfo(image);
        waves_.push_back(mixer().WaveMixOpenWave(session_, &info, nullptr, MixWaveFromMemory));
        fuzz::CheckLoadedWave(*waves_.back());
        break;
      }
      case 3: {
        TMixWave* wave = Wave(program.Next());
        mixer().WaveMixFreeWave(session_, wave);
        std::erase(waves_, wave);
        break;
      }
      case 4: {
        TMixPlayParams params;
        params.hMixSession = session_;
        params.lpMixWave = Wave(program.Next());
        params.iChannel = program.Channel();
        params.dwFlags = program.Next() & 0xF;
        const std::uint8_t loops = program.Next();
        params.wLoops = loops == 255 ? kLoopForever : loops & 3;
        mixer().WaveMixPlay(&params);
        break;
      }
      case 5: {
        const std::uint32_t flags = program.Next() & (MixChannelAll | MixFlushNoRemix);
        mixer().WaveMixFlushChannel(session_, program.Channel(), flags);
        break;
      }
      case 6:
        mixer().WaveMixActivate(session_, (program.Next() & 1) != 0);
        break;
      case 7:
        rig_.RunFor(1u + program.Next() % 64u);
        break;
      default:
        Close();
        Open(program.Next());
        break;
    }
  }

  void Open(std::uint8_t format) {
    const TMixConfig config = fuzz::SelectedFormat(format);
    session_ = mixer().WaveMixConfigureInit(&config);
  }
  void Close() {
    if (session_ == nullptr) return;
    for (TMixWave* wave : waves_) mixer().WaveMixFreeWave(session_, wave);
    waves_.clear();
    mixer().WaveMixCloseSession(session_);
    session_ = nullptr;
  }

  fuzz::VirtualMixer rig_;
  HMIXSESSION session_ = nullptr;
  std::vector<TMixWave*> waves_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Program program(data, size);
  Run run(program.Next());
  while (program.More()) run.Step(program);
  return 0;
}
