// Play requests: choosing the channel, waiting or scheduling at once.
#include <algorithm>

#include "sound/mixer_messages.h"
#include "sound/mixer_module.h"

namespace kelvarok {

namespace {

bool IsOpen(const TMixSession& session, int channel) {
  return session.ChannelHeads[static_cast<std::size_t>(channel)].IsOpen();
}

// The least recently used open channel; an idle one met on the way wins.
int LeastRecentlyUsed(const TMixSession& session) {
  int candidate = -1;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    if (!IsOpen(session, channel)) continue;
    if (candidate < 0) candidate = channel;
    if (session.ChannelHeads[static_cast<std::size_t>(candidate)].First() == nullptr) break;
    if (session.LastUsed[static_cast<std::size_t>(channel)] <
        session.LastUsed[static_cast<std::size_t>(candidate)]) {
      candidate = channel;
    }
  }
  return candidate;
}

bool AllChannelsIdle(const TMixSession& session) {
  return std::all_of(session.ChannelHeads.begin(), session.ChannelHeads.end(),
                     [](const PlayList& list) { return list.First() == nullptr; });
}

}  // namespace

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
  TMixPlayEntry* entry = entries_.Take();
  if (entry == nullptr) throw EWaveMixError("Not enough memory");

  entry->Params = *params;
  entry->Wave = params->lpMixWave;
  entry->WaveLength = params->lpMixWave->Header.dwBufferLength;
  entry->Data = reinterpret_cast<const std::uint8_t*>(params->lpMixWave->Header.lpData);
  entries_.AddPending(session, entry);
  if ((params->dwFlags & MixPlayWait) != 0) return;

  if (ring_.Empty() && AllChannelsIdle(session)) clock_.SetPosition(session, 0);
  const std::uint32_t now = clock_.CurrentPosition(session);
  bool remix = false;
  TMixPlayEntry* last = nullptr;
  while (TMixPlayEntry* oldest = entries_.TakeOldestPending(session)) {
    if (entries_.Schedule(session, oldest, now, !ring_.Empty(), remix)) last = oldest;
  }
  if (remix && last != nullptr) {
    (this->*session.RemixRoutine)(last->StartPos, last);
    return;
  }
  FillAndWritePaused(session);
}

}  // namespace kelvarok
