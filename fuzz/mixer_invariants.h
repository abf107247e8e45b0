// What must hold between any two mixer calls: every play entry is either in
// the free pool or in exactly one list (an open channel's play list or the
// ring of waiting requests), each entry plays a wave that is still loaded,
// and the device queue holds only blocks of the session in the order they
// were written.
#pragma once

#include <algorithm>
#include <set>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "sound/mixer_module.h"

namespace kelvarok::fuzz {

inline void CheckEntry(const TMixPlayEntry& entry, const std::vector<TMixWave*>& waves) {
  Check(std::find(waves.begin(), waves.end(), entry.Wave) != waves.end(),
        "a play entry plays a loaded wave");
  Check(entry.Data == reinterpret_cast<const std::uint8_t*>(entry.Wave->Header.lpData) &&
            entry.WaveLength == entry.Wave->Header.dwBufferLength,
        "a play entry covers its wave's samples");
}

inline void CheckMixer(const MixerModule& mixer, const std::vector<TMixWave*>& waves) {
  const TMixSession* session = mixer.CurrentSession();
  const std::vector<const TMixBlock*> queue = mixer.DeviceQueue();
  if (session == nullptr) {
    Check(queue.empty(), "no blocks queued without a session");
    Check(mixer.FreePlayEntries() == kPlayEntryPoolSize, "every play entry free without a session");
    return;
  }
  int held = 0;
  int open = 0;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    const PlayList& head = session->ChannelHeads[static_cast<std::size_t>(channel)];
    if (head == ClosedChannel()) continue;
    ++open;
    for (const TMixPlayEntry* entry = head; entry != nullptr; entry = entry->Next) {
      Check(++held <= kPlayEntryPoolSize, "a play list ends");
      CheckEntry(*entry, waves);
      Check(entry->Params.iChannel == channel, "an entry is in its own channel's list");
      Check(entry->StartPos <= entry->EndPos, "an entry ends after it starts");
    }
  }
  Check(open == session->OpenChannels, "the count of open channels");
  if (const TMixPlayEntry* last = session->PendingPlays) {
    const TMixPlayEntry* entry = last;
    do {
      entry = entry->Next;
      Check(++held <= kPlayEntryPoolSize, "the ring of waiting requests closes");
      CheckEntry(*entry, waves);
    } while (entry != last);
  }
  Check(held + mixer.FreePlayEntries() == kPlayEntryPoolSize, "no play entry lost or shared");

  if (!session->DeviceActive || session->WaveOut == 0) {
    Check(queue.empty(), "no blocks queued without a device");
    return;
  }
  Check(queue.size() <= static_cast<std::size_t>(session->BlockCount),
        "at most the session's blocks queued");
  Check(std::set<const TMixBlock*>(queue.begin(), queue.end()).size() == queue.size(),
        "a block is queued once");
  for (std::size_t i = 0; i < queue.size(); ++i) {
    Check(!queue[i]->Free && queue[i]->Session == session, "a queued block belongs to the session");
    Check(queue[i]->Header.dwBufferLength <= session->BlockLength, "a block within its length");
    Check(i == 0 || queue[i - 1]->BlockStart < queue[i]->BlockStart,
          "the queue in the order of the output");
  }
}

}  // namespace kelvarok::fuzz
