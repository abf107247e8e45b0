// Opening, flushing and closing channels, and the pool of play entries.
#include "sound/mixer_messages.h"
#include "sound/mixer_module.h"

namespace kelvarok {

TMixPlayEntry* MixerModule::TakeEntry() {
  TMixPlayEntry* entry = free_entries_;
  if (entry != nullptr) free_entries_ = entry->Next;
  return entry;
}

void MixerModule::ReturnEntry(TMixPlayEntry* entry) {
  entry->Next = free_entries_;
  free_entries_ = entry;
}

int MixerModule::FreePlayEntries() const {
  int count = 0;
  for (const TMixPlayEntry* it = free_entries_; it != nullptr; it = it->Next) ++count;
  return count;
}

// Empties an open channel's play list; true when it held entries.
bool MixerModule::ReturnChannelEntries(TMixSession& session, int channel) {
  TMixPlayEntry*& head = session.ChannelHeads[static_cast<std::size_t>(channel)];
  const bool had_entries = head != nullptr;
  while (head != nullptr) {
    TMixPlayEntry* entry = head;
    head = entry->Next;
    ReturnEntry(entry);
  }
  return had_entries;
}

void MixerModule::WaveMixOpenChannel(HMIXSESSION handle, std::int32_t channel, std::uint32_t mode) {
  TMixSession& session = Validate(handle);
  if (mode > MixOpenCount) throw EWaveMixError("Invalid Flags");
  if (mode == MixOpenSingle && (channel < 0 || channel >= kChannelCount)) {
    throw EWaveMixError(kInvalidChannelMessage);
  }
  if (mode == MixOpenCount && (channel > kChannelCount || channel < 1)) {
    throw EWaveMixError("Invalid number of channels");
  }
  auto open = [&session](std::int32_t number) {
    TMixPlayEntry*& head = session.ChannelHeads[static_cast<std::size_t>(number)];
    if (head != ClosedChannel()) return false;
    head = nullptr;
    ++session.OpenChannels;
    return true;
  };
  if (mode == MixOpenSingle) {
    if (!open(channel)) throw EWaveMixError("The channel has already been opened");
    return;
  }
  const std::int32_t top = mode == MixOpenAll ? kChannelCount - 1 : channel - 1;
  for (std::int32_t number = top; number >= 0; --number) open(number);
}

std::pair<int, int> MixerModule::ChannelRange(const TMixSession& session, std::int32_t channel,
                                              std::uint32_t flags) const {
  if ((flags & MixChannelAll) != 0) return {0, kChannelCount};
  if (channel < 0 || channel >= kChannelCount) throw EWaveMixError(kInvalidChannelMessage);
  if (session.ChannelHeads[static_cast<std::size_t>(channel)] == ClosedChannel()) {
    throw EWaveMixError(kChannelNotOpenMessage);
  }
  return {channel, channel + 1};
}

void MixerModule::WaveMixFlushChannel(HMIXSESSION handle, std::int32_t channel,
                                      std::uint32_t flags) {
  TMixSession& session = Validate(handle);
  const auto [first, end] = ChannelRange(session, channel, flags);
  bool returned = false;
  for (int number = first; number < end; ++number) {
    if (session.ChannelHeads[static_cast<std::size_t>(number)] == ClosedChannel()) continue;
    returned = ReturnChannelEntries(session, number) || returned;
  }
  if (returned && (flags & MixFlushNoRemix) == 0 && session.DeviceActive) {
    (this->*session.RemixRoutine)(CurrentPosition(session), nullptr);
  }
}

void MixerModule::WaveMixCloseChannel(HMIXSESSION handle, std::int32_t channel,
                                      std::uint32_t flags) {
  TMixSession& session = Validate(handle);
  WaveMixFlushChannel(handle, channel, flags | MixFlushNoRemix);
  const auto [first, end] = ChannelRange(session, channel, flags);
  for (int number = first; number < end; ++number) {
    TMixPlayEntry*& head = session.ChannelHeads[static_cast<std::size_t>(number)];
    if (head == ClosedChannel()) continue;
    head = ClosedChannel();
    --session.OpenChannels;
  }
}

}  // namespace kelvarok
