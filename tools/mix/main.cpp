// kelvarok-mix: converts a wave to the mixer's output format, or renders a
// script of mixer commands on the virtual wave device.
#include <fstream>
#include <iostream>

#include "platform/ini_reader.h"
#include "platform/program_questions.h"
#include "platform/virtual_wave_out.h"
#include "sim/mix/device_log.h"
#include "sim/mix/mix_script.h"
#include "sim/mix/script_runner.h"
#include "tools/mix/mix_options.h"

namespace kelvarok {
namespace {

bool WriteBytes(const std::string& path, const char* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(data, static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

// Virtual time: each millisecond of the script moves the virtual clock on and
// lets the virtual device play it.
class VirtualTimeHost final : public ScriptHost {
 public:
  VirtualTimeHost(VirtualClock& clock, VirtualWaveOut& device) : clock_(clock), device_(device) {}
  void AdvanceOneMillisecond() override {
    clock_.Advance(1);
    device_.Poll();
  }

 private:
  VirtualClock& clock_;
  VirtualWaveOut& device_;
};

struct VirtualPlatform {
  WindowMessages messages;
  VirtualClock clock;
  VirtualWaveOut device{messages, clock};
  HeapMixerMemory memory;
};

int Convert(const MixOptions& options, IniReader& ini) {
  VirtualPlatform platform;
  MixerModule mixer({platform.device, platform.messages, ini, platform.clock, platform.memory, {}});
  try {
    HMIXSESSION session = mixer.WaveMixConfigureInit(&options.config);
    TMixWave* wave = mixer.WaveMixOpenWave(session, options.input.c_str(), nullptr, 0);
    const bool written =
        WriteBytes(options.output, wave->Header.lpData, wave->Header.dwBufferLength);
    mixer.WaveMixFreeWave(session, wave);
    mixer.WaveMixCloseSession(session);
    if (!written) {
      std::cerr << "kelvarok-mix: cannot write " << options.output << '\n';
      return 1;
    }
  } catch (const EWaveMixError& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
  return 0;
}

int Render(const MixOptions& options, IniReader& ini) {
  int status = 0;
  const std::optional<std::vector<ScriptCommand>> commands =
      LoadScriptFile(options.input, "kelvarok-mix", status);
  if (!commands) return status;
  std::ofstream log_file;
  if (options.log) {
    log_file.open(*options.log);
    if (!log_file) {
      std::cerr << "kelvarok-mix: cannot write " << *options.log << '\n';
      return 1;
    }
  }
  // The output is written as it plays: a render of hours needs no more memory
  // than one of seconds.
  std::ofstream output(options.output, std::ios::binary | std::ios::trunc);
  if (!output) {
    std::cerr << "kelvarok-mix: cannot write " << options.output << '\n';
    return 1;
  }
  VirtualPlatform platform;
  DeviceLog device(platform.device, platform.clock, options.log ? &log_file : nullptr, &output);
  MixerModule mixer({device, platform.messages, ini, platform.clock, platform.memory, {}});
  VirtualTimeHost host(platform.clock, platform.device);
  const auto error = [&](const std::string& message) {
    device.Error(message);
    std::cerr << platform.clock.timeGetTime() << " error " << message << '\n';
  };
  RunScript(*commands, {mixer, platform.messages, host, options.config,
                        std::filesystem::path(options.input).parent_path(), error});
  if (!output.flush()) {
    std::cerr << "kelvarok-mix: cannot write " << options.output << '\n';
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace kelvarok

int main(int argc, char** argv) {
  using namespace kelvarok;
  MixOptions options;
  if (const auto answered = AnswerProgramQuestion(argc, argv, "kelvarok-mix",
                                                  (std::string(kMixUsage) + kMixHelp).c_str()))
    return *answered;
  try {
    options = ParseMixOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& error) {
    std::cerr << "kelvarok-mix: " << error.what() << '\n' << kMixUsage;
    return 2;
  }
  const std::optional<std::string> ini_text = LoadIniFile(options.ini, "kelvarok-mix");
  if (!ini_text) return 1;
  IniTextReader ini(*ini_text);
  return options.mode == MixOptions::Mode::Convert ? Convert(options, ini) : Render(options, ini);
}
