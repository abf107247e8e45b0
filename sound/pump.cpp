// The pump that keeps the device fed, run for every block-done message, and
// the two remix strategies.
#include "sound/mix_block.h"
#include "sound/mixer_messages.h"
#include "sound/mixer_module.h"

namespace kelvarok {

namespace {

// Pauses the device for the guard's lifetime when asked, so that a run of
// blocks starts together; the device restarts even when a write fails.
class PausedDevice {
 public:
  PausedDevice(WaveOut& wave_out, HWAVEOUT device, bool pause)
      : wave_out_(wave_out), device_(pause ? device : 0) {
    if (device_ != 0) wave_out_.waveOutPause(device_);
  }
  ~PausedDevice() {
    if (device_ != 0) wave_out_.waveOutRestart(device_);
  }
  PausedDevice(const PausedDevice&) = delete;
  PausedDevice& operator=(const PausedDevice&) = delete;

 private:
  WaveOut& wave_out_;
  HWAVEOUT device_;
};

}  // namespace

// No more than BlockCount blocks in one go: no more are ever free at once, and
// a device that refuses every write cannot keep the loop going.
void MixerModule::FillAndWrite(TMixSession& session) {
  bool refused = false;
  for (std::int32_t i = 0; i < session.BlockCount; ++i) {
    TMixBlock* block = ring_.Claim(session.BlockCount, session.BlockLength, active_);
    if (block == nullptr || !MixBlock(session, *block)) break;
    ring_.Append(block);
    if (!ring_.Write(session.WaveOut, block)) refused = true;
  }
  if (refused) throw EWaveMixError(kWriteRefusedMessage);
}

void MixerModule::FillAndWritePaused(TMixSession& session) {
  PausedDevice paused(services_.wave_out, session.WaveOut, ring_.Empty());
  FillAndWrite(session);
}

void MixerModule::Pump() {
  current_ = active_;
  if (active_ == nullptr) return;
  TMixSession& session = *active_;
  ring_.RetireDone();
  entries_.RetireFinished(session, clock_.DevicePosition(session),
                          [this](int channel, const TMixPlayEntry& entry) {
                            if (entry.Params.hWndNotify == 0) return;
                            services_.messages.PostMessageA(entry.Params.hWndNotify, MM_WOM_DONE,
                                                            static_cast<WPARAM>(channel),
                                                            reinterpret_cast<LPARAM>(entry.Wave));
                          });
  FillAndWrite(session);
}

// Discards the queued blocks, mixes them again from start, resets the device
// and writes them anew, so that a change is heard at once. The device then
// plays the stream from start, so start becomes the output position: the
// position being heard, which retires finished waves and is where a
// deactivation resumes.
void MixerModule::ResettingRemix(std::uint32_t start, TMixPlayEntry*) {
  TMixSession& session = *current_;
  session.MixPosition = start;
  ring_.FreeQueued();
  while (TMixBlock* block = ring_.Claim(session.BlockCount, session.BlockLength, active_)) {
    if (!MixBlock(session, *block)) break;
    ring_.Append(block);
  }
  const std::uint32_t mixed_to = session.MixPosition;
  services_.wave_out.waveOutReset(session.WaveOut);
  clock_.SetPosition(session, start);
  session.MixPosition = mixed_to;

  // A refused block is lost; the blocks behind it are still written, so play
  // goes on.
  bool written = false;
  {
    PausedDevice paused(services_.wave_out, session.WaveOut, true);
    written = ring_.WriteQueued(session.WaveOut);
  }
  if (!written) throw EWaveMixError(kWriteRefusedMessage);
}

// Leaves the written blocks alone and moves the new entry to the first
// position not yet written.
void MixerModule::ShiftingRemix(std::uint32_t, TMixPlayEntry* entry) {
  if (entry != nullptr) {
    const std::uint32_t shift = current_->MixPosition - entry->StartPos;
    entry->StartPos += shift;
    entry->EndPos += shift;
    if (entry->StartPos > entry->EndPos) entry->EndPos = kNeverPos;
  }
  Pump();
}

LRESULT MixerModule::WindowProcedure(HWND window, std::uint32_t message, WPARAM w, LPARAM l) {
  if (message != MM_WOM_DONE) return WindowMessages::DefWindowProcA(window, message, w, l);
  Pump();
  return 0;
}

}  // namespace kelvarok
