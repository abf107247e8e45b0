// Play requests: choosing the channel, the pending ring, and scheduling onto
// the output timeline.
#include <algorithm>

#include "sound/mixer_messages.h"
#include "sound/mixer_module.h"

namespace kelvarok {

namespace {

bool IsOpen(const TMixSession& session, int channel) {
  return session.ChannelHeads[static_cast<std::size_t>(channel)] != ClosedChannel();
}

// The least recently used open channel; an idle one met on the way wins.
int LeastRecentlyUsed(const TMixSession& session) {
  int candidate = -1;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    if (!IsOpen(session, channel)) continue;
    if (candidate < 0) candidate = channel;
    if (session.ChannelHeads[static_cast<std::size_t>(candidate)] == nullptr) break;
    if (session.LastUsed[static_cast<std::size_t>(channel)] <
        session.LastUsed[static_cast<std::size_t>(candidate)]) {
      candidate = channel;
    }
  }
  return candidate;
}

}  // namespace

bool MixerModule::NothingPlaying(const TMixSession& session) const {
  if (queue_head_ != nullptr) return false;
  return std::all_of(
      session.ChannelHeads.begin(), session.ChannelHeads.end(),
      [](const TMixPlayEntry* head) { return head == nullptr || head == ClosedChannel(); });
}

void MixerModule::WaveMixPlay(TMixPlayParams* params) {
  if (params == nullptr) throw EWaveMixError("nil parameters pointer passed to WaveMixPlay");
  TMixSession& session = Validate(params->hMixSession);
  if (params->lpMixWave == nullptr) throw EWaveMixError("nil wave pointer passed to WaveMixPlay!");
  if (!session.DeviceActive) {
    throw EWaveMixError("Wave device not allocated, call WaveMixActivate(hMixSession,TRUE)");
  }
  if (session.OpenChannels == 0) {
    throw EWaveMixError("You must open a channel before you can play a wave");
  }
  if ((params->dwFlags & MixPlayUseLru) != 0) {
    params->iChannel = LeastRecentlyUsed(session);
  } else if (params->iChannel < 0 || params->iChannel >= kChannelCount) {
    throw EWaveMixError(kInvalidChannelMessage);
  }
  const auto channel = static_cast<std::size_t>(params->iChannel);
  session.LastUsed[channel] = ++session.UseCounter;
  if (!IsOpen(session, params->iChannel)) throw EWaveMixError(kChannelNotOpenMessage);
  TMixPlayEntry* entry = TakeEntry();
  if (entry == nullptr) throw EWaveMixError("Not enough memory");

  entry->Params = *params;
  entry->Wave = params->lpMixWave;
  entry->WaveLength = params->lpMixWave->Header.dwBufferLength;
  entry->Data = reinterpret_cast<const std::uint8_t*>(params->lpMixWave->Header.lpData);
  if (session.PendingPlays == nullptr) {
    entry->Next = entry;
  } else {
    entry->Next = session.PendingPlays->Next;
    session.PendingPlays->Next = entry;
  }
  session.PendingPlays = entry;
  if ((params->dwFlags & MixPlayWait) != 0) return;

  if (NothingPlaying(session)) SetPosition(session, 0);
  const std::uint32_t now = CurrentPosition(session);
  bool remix = false;
  TMixPlayEntry* last = nullptr;
  while (session.PendingPlays != nullptr) {
    TMixPlayEntry* oldest = session.PendingPlays->Next;
    if (oldest == session.PendingPlays) {
      session.PendingPlays = nullptr;
    } else {
      session.PendingPlays->Next = oldest->Next;
    }
    if (Schedule(session, oldest, now, remix)) last = oldest;
  }
  if (remix && last != nullptr) {
    (this->*session.RemixRoutine)(last->StartPos, last);
    return;
  }
  FillAndWritePaused(session);
}

// Puts a pending entry into its channel's play list and gives it its stretch
// of the output. A waiting request whose channel was closed meanwhile is
// dropped rather than linked into a closed channel.
bool MixerModule::Schedule(TMixSession& session, TMixPlayEntry* entry, std::uint32_t now,
                           bool& remix) {
  const int channel = entry->Params.iChannel;
  if (!IsOpen(session, channel)) {
    ReturnEntry(entry);
    return false;
  }
  TMixPlayEntry*& head = session.ChannelHeads[static_cast<std::size_t>(channel)];
  const bool high_priority = (entry->Params.dwFlags & MixPlayHighPriority) != 0;
  entry->Next = nullptr;
  if ((entry->Params.dwFlags & MixPlayClearQueue) != 0) {
    ReturnChannelEntries(session, channel);
    head = entry;
    if (queue_head_ != nullptr) remix = true;
    entry->StartPos = high_priority ? now : session.MixPosition;
  } else {
    if (head != nullptr) {
      TMixPlayEntry* tail = head;
      while (tail->Next != nullptr) tail = tail->Next;
      tail->Next = entry;
      entry->StartPos = high_priority ? tail->EndPos : std::max(tail->EndPos, session.MixPosition);
    } else {
      head = entry;
      entry->StartPos = high_priority ? now : session.MixPosition;
    }
    if (entry->StartPos < session.MixPosition) remix = true;
  }
  if (entry->Params.wLoops == kLoopForever || entry->StartPos == kNeverPos) {
    entry->EndPos = kNeverPos;
  } else {
    entry->EndPos = entry->StartPos + (entry->Params.wLoops + 1u) * entry->WaveLength - 1;
  }
  return true;
}

}  // namespace kelvarok
