// Opening, flushing and closing channels.
#include "sound/mixer_messages.h"
#include "sound/mixer_module.h"

namespace kelvarok {

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
    if (!session.ChannelHeads[static_cast<std::size_t>(number)].Open()) return false;
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
  if (!session.ChannelHeads[static_cast<std::size_t>(channel)].IsOpen()) {
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
    PlayList& list = session.ChannelHeads[static_cast<std::size_t>(number)];
    if (!list.IsOpen()) continue;
    returned = entries_.Empty(list) || returned;
  }
  if (returned && (flags & MixFlushNoRemix) == 0 && session.DeviceActive) {
    (this->*session.RemixRoutine)(clock_.CurrentPosition(session), nullptr);
  }
}

void MixerModule::WaveMixCloseChannel(HMIXSESSION handle, std::int32_t channel,
                                      std::uint32_t flags) {
  TMixSession& session = Validate(handle);
  WaveMixFlushChannel(handle, channel, flags | MixFlushNoRemix);
  const auto [first, end] = ChannelRange(session, channel, flags);
  for (int number = first; number < end; ++number) {
    PlayList& list = session.ChannelHeads[static_cast<std::size_t>(number)];
    if (!list.IsOpen()) continue;
    list.Close();
    --session.OpenChannels;
  }
}

}  // namespace kelvarok
