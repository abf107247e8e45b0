#include "sound/mix_block.h"

#include <algorithm>
#include <cstring>

namespace kelvarok {

namespace {

constexpr std::uint8_t kSilence = 128;

// Each output byte is 128 plus the sum of the sources' distances from 128,
// clamped to a byte; a single source is copied.
void AddSamples(std::uint8_t* out, std::size_t count, const std::uint8_t* const* sources,
                int source_count) {
  if (source_count == 0) {
    std::memset(out, kSilence, count);
    return;
  }
  if (source_count == 1) {
    std::memcpy(out, sources[0], count);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    int sum = kSilence;
    for (int s = 0; s < source_count; ++s) sum += sources[s][i] - kSilence;
    out[i] = static_cast<std::uint8_t>(std::clamp(sum, 0, 255));
  }
}

std::uint32_t EarliestStart(TMixPlayEntry* const* sources, int count) {
  std::uint32_t earliest = 0xFFFFFFFF;
  for (int s = 0; s < count; ++s) earliest = std::min(earliest, sources[s]->StartPos);
  return earliest;
}

}  // namespace

bool MixBlock(TMixSession& session, TMixBlock& block) {
  TMixPlayEntry* sources[kChannelCount];
  int count = 0;
  for (const PlayList& list : session.ChannelHeads) {
    if (!list.IsOpen()) continue;
    TMixPlayEntry* head = list;
    while (head != nullptr && head->EndPos <= session.MixPosition) head = head->Next;
    if (head != nullptr) sources[count++] = head;
  }
  if (count == 0) {
    block.Free = true;
    return false;
  }

  std::uint32_t earliest = EarliestStart(sources, count);
  std::uint32_t p = session.MixPosition;
  std::uint8_t* out = block.Data;
  std::uint32_t left = session.BlockLength;
  while (left > 0) {
    if (count == 0 || p < earliest) {
      const std::uint32_t n = count == 0 ? left : std::min(left, earliest - p);
      std::memset(out, kSilence, n);
      out += n;
      p += n;
      left -= n;
      continue;
    }
    std::uint64_t segment_end = std::uint64_t{p} + left;
    const std::uint8_t* contributing[kChannelCount];
    int contributing_count = 0;
    for (int s = 0; s < count; ++s) {
      const TMixPlayEntry& source = *sources[s];
      if (p < source.StartPos) {
        segment_end = std::min<std::uint64_t>(segment_end, source.StartPos);
        continue;
      }
      segment_end = std::min<std::uint64_t>(segment_end, source.EndPos);
      std::uint32_t offset = p - source.StartPos;
      if (source.Params.wLoops != 0) offset %= source.WaveLength;
      // A wave never sounds past its data, even when a shift made it endless.
      if (offset >= source.WaveLength) continue;
      segment_end =
          std::min<std::uint64_t>(segment_end, std::uint64_t{p} + source.WaveLength - offset);
      contributing[contributing_count++] = source.Data + offset;
    }
    const auto n = static_cast<std::uint32_t>(segment_end - p);
    AddSamples(out, n, contributing, contributing_count);
    out += n;
    p += n;
    left -= n;

    for (int s = 0; s < count;) {
      while (sources[s] != nullptr && sources[s]->EndPos <= p) sources[s] = sources[s]->Next;
      if (sources[s] == nullptr) {
        sources[s] = sources[--count];
        continue;
      }
      ++s;
    }
    earliest = EarliestStart(sources, count);
  }

  block.SetStart(session.MixPosition);
  session.MixPosition += session.BlockLength;
  return true;
}

}  // namespace kelvarok
