#include "sound/play_entry_pool.h"

#include <algorithm>

namespace kelvarok {

void PlayEntryPool::Refill() {
  free_entries_ = nullptr;
  for (TMixPlayEntry& entry : pool_) Return(&entry);
}

int PlayEntryPool::FreeCount() const {
  int count = 0;
  for (const TMixPlayEntry* it = free_entries_; it != nullptr; it = it->Next) ++count;
  return count;
}

TMixPlayEntry* PlayEntryPool::Take() {
  TMixPlayEntry* entry = free_entries_;
  if (entry != nullptr) free_entries_ = entry->Next;
  return entry;
}

void PlayEntryPool::Return(TMixPlayEntry* entry) {
  entry->Next = free_entries_;
  free_entries_ = entry;
}

bool PlayEntryPool::Empty(PlayList& list) {
  TMixPlayEntry*& first = list.Link();
  const bool had_entries = first != nullptr;
  while (first != nullptr) {
    TMixPlayEntry* entry = first;
    first = entry->Next;
    Return(entry);
  }
  return had_entries;
}

// The ring is reached through its newest entry, whose Next is the oldest.
void PlayEntryPool::AddPending(TMixSession& session, TMixPlayEntry* entry) {
  if (session.PendingPlays == nullptr) {
    entry->Next = entry;
  } else {
    entry->Next = session.PendingPlays->Next;
    session.PendingPlays->Next = entry;
  }
  session.PendingPlays = entry;
}

TMixPlayEntry* PlayEntryPool::TakeOldestPending(TMixSession& session) {
  TMixPlayEntry* newest = session.PendingPlays;
  if (newest == nullptr) return nullptr;
  TMixPlayEntry* oldest = newest->Next;
  if (oldest == newest) {
    session.PendingPlays = nullptr;
  } else {
    newest->Next = oldest->Next;
  }
  return oldest;
}

bool PlayEntryPool::Schedule(TMixSession& session, TMixPlayEntry* entry, std::uint32_t now,
                             bool output_queued, bool& remix) {
  PlayList& list = session.ChannelHeads[static_cast<std::size_t>(entry->Params.iChannel)];
  if (!list.IsOpen()) {
    Return(entry);
    return false;
  }
  TMixPlayEntry*& first = list.Link();
  const bool high_priority = (entry->Params.dwFlags & MixPlayHighPriority) != 0;
  entry->Next = nullptr;
  if ((entry->Params.dwFlags & MixPlayClearQueue) != 0) {
    Empty(list);
    first = entry;
    if (output_queued) remix = true;
    entry->StartPos = high_priority ? now : session.MixPosition;
  } else {
    if (first != nullptr) {
      TMixPlayEntry* tail = first;
      while (tail->Next != nullptr) tail = tail->Next;
      tail->Next = entry;
      entry->StartPos = high_priority ? tail->EndPos : std::max(tail->EndPos, session.MixPosition);
    } else {
      first = entry;
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

void PlayEntryPool::DropWave(TMixSession& session, const TMixWave* wave) {
  for (PlayList& list : session.ChannelHeads) {
    if (!list.IsOpen()) continue;
    for (TMixPlayEntry** link = &list.Link(); *link != nullptr;) {
      TMixPlayEntry* entry = *link;
      if (entry->Wave != wave) {
        link = &entry->Next;
        continue;
      }
      *link = entry->Next;
      Return(entry);
    }
  }
  DropPendingPlays(session, wave);
}

void PlayEntryPool::DropPendingPlays(TMixSession& session, const TMixWave* wave) {
  TMixPlayEntry* newest = session.PendingPlays;
  if (newest == nullptr) return;
  TMixPlayEntry* kept_newest = nullptr;
  TMixPlayEntry* kept_oldest = nullptr;
  TMixPlayEntry* entry = newest->Next;
  for (bool done = false; !done;) {
    TMixPlayEntry* next = entry->Next;
    done = entry == newest;
    if (entry->Wave == wave) {
      Return(entry);
    } else {
      if (kept_oldest == nullptr) kept_oldest = entry;
      if (kept_newest != nullptr) kept_newest->Next = entry;
      kept_newest = entry;
    }
    entry = next;
  }
  if (kept_newest != nullptr) kept_newest->Next = kept_oldest;
  session.PendingPlays = kept_newest;
}

void PlayEntryPool::RetireFinished(
    TMixSession& session, std::uint32_t position,
    const std::function<void(int channel, const TMixPlayEntry&)>& finished) {
  for (int channel = 0; channel < kChannelCount; ++channel) {
    PlayList& list = session.ChannelHeads[static_cast<std::size_t>(channel)];
    if (!list.IsOpen()) continue;
    TMixPlayEntry*& first = list.Link();
    while (first != nullptr && first->EndPos <= position) {
      TMixPlayEntry* entry = first;
      first = entry->Next;
      finished(channel, *entry);
      Return(entry);
    }
  }
}

}  // namespace kelvarok
