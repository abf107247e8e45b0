// kelvarok-mix-play: runs a kelvarok-mix render script in real time on the
// SDL2 wave device, optionally recording what the device played.
#include <chrono>
#include <fstream>
#include <iostream>
#include <thread>

#include "platform/argument_reader.h"
#include "platform/ini_reader.h"
#include "platform/program_questions.h"
#include "platform/wave_recorder.h"
#include "sdl/sdl_wave_out.h"
#include "sim/mix/device_log.h"
#include "sim/mix/script_runner.h"

namespace kelvarok {
namespace {

constexpr const char* kUsage =
    "usage: kelvarok-mix-play [--ini FILE] [--log FILE] [--record FILE.wav] [--] SCRIPT\n"
    "       kelvarok-mix-play --help | -h | --version\n";

constexpr const char* kHelp =
    "\n"
    "Plays a kelvarok-mix render SCRIPT in real time through SDL's audio device\n"
    "(SDL_AUDIODRIVER=disk writes it to a file instead).\n"
    "  --ini FILE         the WAVEMIX.INI to read (none: every default)\n"
    "  --log FILE         one line per device operation\n"
    "  --record FILE.wav  also write what the device played to a WAV file\n"
    "  -h, --help         show this help and exit\n"
    "  --version          show the version and exit\n";

// Real time: each millisecond of the script waits for the steady clock.
class RealTimeHost final : public ScriptHost {
 public:
  void AdvanceOneMillisecond() override {
    next_ += std::chrono::milliseconds(1);
    std::this_thread::sleep_until(next_);
  }

 private:
  std::chrono::steady_clock::time_point next_ = std::chrono::steady_clock::now();
};

int BadUsage() {
  std::cerr << kUsage;
  return 2;
}

int Play(int argc, char** argv) {
  if (const auto answered = AnswerProgramQuestion(argc, argv, "kelvarok-mix-play",
                                                  (std::string(kUsage) + kHelp).c_str()))
    return *answered;
  std::optional<std::string> ini_path, log_path, record_path, script_path;
  ArgumentReader reader(argc, argv);
  while (!reader.AtEnd()) {
    if (!reader.AtOption()) {
      if (script_path) return BadUsage();
      script_path = reader.Take();
      continue;
    }
    const std::string option = reader.Take();
    std::optional<std::string>* target = option == "--ini"      ? &ini_path
                                         : option == "--log"    ? &log_path
                                         : option == "--record" ? &record_path
                                                                : nullptr;
    if (target == nullptr || !(*target = reader.TakeValue())) return BadUsage();
  }
  if (!script_path) return BadUsage();
  int status = 0;
  const std::optional<std::vector<ScriptCommand>> commands =
      LoadScriptFile(*script_path, "kelvarok-mix-play", status);
  if (!commands) return status;
  std::ofstream log_file;
  if (log_path) {
    log_file.open(*log_path);
    if (!log_file) {
      std::cerr << "kelvarok-mix-play: cannot write " << *log_path << '\n';
      return 1;
    }
  }

  const std::optional<std::string> ini_text = LoadIniFile(ini_path, "kelvarok-mix-play");
  if (!ini_text) return 1;
  IniTextReader ini(*ini_text);
  WindowMessages messages;
  SteadyClock clock;
  SdlWaveOut sdl(messages);
  WaveRecorder recorder(sdl);
  DeviceLog device(recorder, clock, log_path ? &log_file : nullptr);
  HeapMixerMemory memory;
  MixerModule mixer({device, messages, ini, clock, memory, {}});
  RealTimeHost host;
  const auto error = [&](const std::string& message) {
    device.Error(message);
    std::cerr << clock.timeGetTime() << " error " << message << '\n';
  };
  RunScript(*commands, {mixer, messages, host, TMixConfig{},
                        std::filesystem::path(*script_path).parent_path(), error});
  if (record_path && !recorder.Save(*record_path)) {
    std::cerr << "kelvarok-mix-play: cannot write " << *record_path << '\n';
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace kelvarok

int main(int argc, char** argv) {
  return kelvarok::Play(argc, argv);
}
