// The mixer: one object holds what the process shares (the current and the
// active session, the output blocks and the device queue, the pool of play
// entries) and offers the WaveMix operations. Every failure raises
// EWaveMixError. All calls, and the pump driven by the callback window's
// messages, run on the user-interface thread.
#pragma once

#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/ini_reader.h"
#include "platform/wave_out.h"
#include "platform/window_messages.h"
#include "sound/ewavemix_error.h"
#include "sound/mixer_memory.h"
#include "sound/mixer_types.h"
#include "sound/output_clock.h"
#include "sound/output_ring.h"
#include "sound/play_entry_pool.h"
#include "sound/wave_resources.h"

namespace kelvarok {

struct MixerServices {
  WaveOut& wave_out;
  WindowMessages& messages;
  IniReader& ini;
  Clock& clock;
  MixerMemory& memory;
  // Stops what the system's simple sound player plays, before the device opens.
  std::function<void()> stop_simple_sound;
};

inline constexpr const char* kMixerIniFile = "WAVEMIX.INI";
inline constexpr const char* kCallbackWindowClass = "WavMix32";

class MixerModule {
 public:
  explicit MixerModule(MixerServices services);
  // Ends a session left open, so that the device and its blocks are released.
  ~MixerModule();
  MixerModule(const MixerModule&) = delete;
  MixerModule& operator=(const MixerModule&) = delete;

  // Sessions.
  HMIXSESSION WaveMixInit();
  HMIXSESSION WaveMixConfigureInit(const TMixConfig* config);
  void WaveMixActivate(HMIXSESSION session, bool activate);
  void WaveMixCloseSession(HMIXSESSION session);

  // Waves. source is a file path, a resource name or number (with module), or
  // an MMIOINFO describing a memory image, as flags say.
  TMixWave* WaveMixOpenWave(HMIXSESSION session, const void* source, WaveResourceModule* module,
                            std::uint32_t flags);
  void WaveMixFreeWave(HMIXSESSION session, TMixWave* wave);

  // Channels and play requests.
  void WaveMixOpenChannel(HMIXSESSION session, std::int32_t channel, std::uint32_t mode);
  void WaveMixFlushChannel(HMIXSESSION session, std::int32_t channel, std::uint32_t flags);
  void WaveMixCloseChannel(HMIXSESSION session, std::int32_t channel, std::uint32_t flags);
  void WaveMixPlay(TMixPlayParams* params);

  // What hosts and tests may look at.
  HMIXSESSION CurrentSession() const { return current_; }
  HMIXSESSION ActiveSession() const { return active_; }
  std::vector<const TMixBlock*> DeviceQueue() const { return ring_.Queue(); }
  int FreePlayEntries() const { return entries_.FreeCount(); }
  // The output position now being heard, by the rule of the session (which
  // must exist).
  std::uint32_t OutputPosition() { return clock_.CurrentPosition(*current_); }

  // The remix strategies a session's RemixRoutine names: the resetting one
  // rewrites the queued blocks from start; the shifting one moves the entry to
  // the first unwritten position.
  void ResettingRemix(std::uint32_t start, TMixPlayEntry* entry);
  void ShiftingRemix(std::uint32_t start, TMixPlayEntry* entry);

 private:
  // Sessions (session.cpp).
  TMixSession& Validate(HMIXSESSION session);
  void PrepareModule();
  void OpenDevice(TMixSession& session);
  void CloseDevice(TMixSession& session);
  void FreeSession(TMixSession* session);

  // Channels (channels.cpp).
  std::pair<int, int> ChannelRange(const TMixSession& session, std::int32_t channel,
                                   std::uint32_t flags) const;

  // The pump (pump.cpp). FillAndWrite mixes and writes blocks while one is
  // free and something is to be heard. A refused block is lost and play goes
  // on with the next one; the refusal is raised once the filling is done.
  void FillAndWrite(TMixSession& session);
  void FillAndWritePaused(TMixSession& session);
  void Pump();
  LRESULT WindowProcedure(HWND window, std::uint32_t message, WPARAM w, LPARAM l);

  MixerServices services_;
  OutputClock clock_;
  OutputRing ring_;
  PlayEntryPool entries_;
  TMixSession* current_ = nullptr;
  TMixSession* active_ = nullptr;
};

}  // namespace kelvarok
