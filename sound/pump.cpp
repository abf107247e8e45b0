// The pump that keeps the device fed, run for every block-done message, and
// the two remix strategies.
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

void MixerModule::FillAndWritePaused(TMixSession& session) {
  PausedDevice paused(services_.wave_out, session.WaveOut, queue_head_ == nullptr);
  FillAndWrite(session);
}

void MixerModule::Pump() {
  current_ = active_;
  if (active_ == nullptr) return;
  TMixSession& session = *active_;
  for (TMixBlock* it = queue_head_; it != nullptr;) {
    if ((it->Header.dwFlags.load() & WHDR_DONE) == 0) {
      it = it->Next;
      continue;
    }
    RemoveFromQueue(it);
    it->Free = true;
    it = queue_head_;
  }
  RetireFinished(session);
  FillAndWrite(session);
}

void MixerModule::RetireFinished(TMixSession& session) {
  const std::uint32_t position = DevicePosition(session);
  for (int channel = 0; channel < kChannelCount; ++channel) {
    TMixPlayEntry*& head = session.ChannelHeads[static_cast<std::size_t>(channel)];
    if (head == ClosedChannel()) continue;
    while (head != nullptr && head->EndPos <= position) {
      TMixPlayEntry* finished = head;
      head = finished->Next;
      if (finished->Params.hWndNotify != 0) {
        services_.messages.PostMessageA(finished->Params.hWndNotify, MM_WOM_DONE,
                                        static_cast<WPARAM>(channel),
                                        reinterpret_cast<LPARAM>(finished->Wave));
      }
      ReturnEntry(finished);
    }
  }
}

// Discards the queued blocks, mixes them again from start, resets the device
// and writes them anew, so that a change is heard at once. The device then
// plays the stream from start, so start becomes the output position: the
// position being heard, which retires finished waves and is where a
// deactivation resumes.
void MixerModule::ResettingRemix(std::uint32_t start, TMixPlayEntry*) {
  TMixSession& session = *current_;
  session.MixPosition = start;
  FreeQueuedBlocks();
  while (TMixBlock* block = ClaimBlock(session)) {
    if (!MixBlock(session, *block)) break;
    AppendToQueue(block);
  }
  const std::uint32_t mixed_to = session.MixPosition;
  services_.wave_out.waveOutReset(session.WaveOut);
  SetPosition(session, start);
  session.MixPosition = mixed_to;

  // A refused block is lost; the blocks behind it are still written, so play
  // goes on.
  bool refused = false;
  {
    PausedDevice paused(services_.wave_out, session.WaveOut, true);
    for (TMixBlock* it = queue_head_; it != nullptr;) {
      TMixBlock* next = it->Next;
      if (!WriteBlock(session, it)) refused = true;
      it = next;
    }
  }
  if (refused) throw EWaveMixError(kWriteRefusedMessage);
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
