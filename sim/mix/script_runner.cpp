#include "sim/mix/script_runner.h"

#include <algorithm>
#include <map>

namespace kelvarok {

namespace {

class Runner {
 public:
  explicit Runner(const ScriptRun& run) : run_(run) {}

  void Run(const std::vector<ScriptCommand>& commands) {
    Guarded([&] { session_ = run_.mixer.WaveMixConfigureInit(&run_.config); });
    Deliver();
    for (const ScriptCommand& command : commands) {
      while (now_ < command.ms) {
        run_.host.AdvanceOneMillisecond();
        ++now_;
        Deliver();
      }
      if (command.kind == ScriptCommand::Kind::End) break;
      Guarded([&] { Execute(command); });
    }
    for (TMixWave* wave : loaded_) Guarded([&] { run_.mixer.WaveMixFreeWave(session_, wave); });
    Guarded([&] { run_.mixer.WaveMixCloseSession(session_); });
  }

 private:
  template <class Call>
  void Guarded(Call&& call) {
    try {
      call();
    } catch (const EWaveMixError& error) {
      run_.error(error.what());
    }
  }

  // Delivers the waiting messages; an error raised by one does not hold up
  // the others.
  void Deliver() {
    for (bool delivered = false; !delivered;) {
      Guarded([&] {
        run_.messages.DispatchPending();
        delivered = true;
      });
    }
  }

  void Execute(const ScriptCommand& command) {
    MixerModule& mixer = run_.mixer;
    using Kind = ScriptCommand::Kind;
    const std::uint32_t channel_flags = command.all_channels ? MixChannelAll : 0;
    switch (command.kind) {
      case Kind::Open:
        return mixer.WaveMixOpenChannel(session_, command.channel, MixOpenSingle);
      case Kind::OpenAll:
        return mixer.WaveMixOpenChannel(session_, 0, MixOpenAll);
      case Kind::OpenCount:
        return mixer.WaveMixOpenChannel(session_, command.channel, MixOpenCount);
      case Kind::Load:
        return Load(command);
      case Kind::Free:
        return Free(command.name);
      case Kind::Activate:
        return mixer.WaveMixActivate(session_, command.on);
      case Kind::Play:
        return Play(command);
      case Kind::Flush:
        return mixer.WaveMixFlushChannel(session_, command.channel, channel_flags | command.flags);
      case Kind::Close:
        return mixer.WaveMixCloseChannel(session_, command.channel, channel_flags);
      case Kind::End:
        return;
    }
  }

  void Load(const ScriptCommand& command) {
    waves_[command.name] = nullptr;
    std::filesystem::path path(command.file);
    if (path.is_relative()) path = run_.base_directory / path;
    TMixWave* wave = run_.mixer.WaveMixOpenWave(session_, path.c_str(), nullptr, 0);
    waves_[command.name] = wave;
    loaded_.push_back(wave);
  }

  void Free(const std::string& name) {
    TMixWave*& wave = waves_[name];
    run_.mixer.WaveMixFreeWave(session_, wave);
    loaded_.erase(std::find(loaded_.begin(), loaded_.end(), wave));
    wave = nullptr;
  }

  void Play(const ScriptCommand& command) {
    TMixPlayParams params;
    params.hMixSession = session_;
    params.iChannel = command.channel;
    params.lpMixWave = waves_[command.name];
    params.dwFlags = command.flags;
    params.wLoops = command.loops;
    run_.mixer.WaveMixPlay(&params);
  }

  const ScriptRun& run_;
  HMIXSESSION session_ = nullptr;
  std::uint32_t now_ = 0;
  std::map<std::string, TMixWave*> waves_;
  std::vector<TMixWave*> loaded_;
};

}  // namespace

void RunScript(const std::vector<ScriptCommand>& commands, const ScriptRun& run) {
  Runner(run).Run(commands);
}

}  // namespace kelvarok
