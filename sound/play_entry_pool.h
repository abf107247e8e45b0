// The play entries and the lists that hold them: the channels' play lists and
// the ring of waiting requests of a session. Every entry is free or in exactly
// one of those lists.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "sound/mixer_types.h"

namespace kelvarok {

constexpr int kPlayEntryPoolSize = 100;

class PlayEntryPool {
 public:
  // Makes every entry free.
  void Refill();
  int FreeCount() const;
  // A free entry, or null when every entry is in use.
  TMixPlayEntry* Take();
  void Return(TMixPlayEntry* entry);
  // Returns the entries of a play list; true when it held any.
  bool Empty(PlayList& list);

  // Puts an entry into the ring of waiting requests, as the newest.
  void AddPending(TMixSession& session, TMixPlayEntry* entry);
  // The oldest waiting request, out of the ring; null when none waits.
  TMixPlayEntry* TakeOldestPending(TMixSession& session);
  // Puts a taken request into its channel's play list and gives it its
  // stretch of the output; now is the position heard. remix becomes true when
  // output already written must change. A request whose channel was closed
  // meanwhile goes back to the pool: false then.
  bool Schedule(TMixSession& session, TMixPlayEntry* entry, std::uint32_t now, bool output_queued,
                bool& remix);

  // Returns every entry of the wave, playing or waiting, so that none is ever
  // mixed with freed samples.
  void DropWave(TMixSession& session, const TMixWave* wave);
  // Returns the entries that ended by position, telling finished about each
  // before it goes.
  void RetireFinished(TMixSession& session, std::uint32_t position,
                      const std::function<void(int channel, const TMixPlayEntry&)>& finished);

 private:
  void DropPendingPlays(TMixSession& session, const TMixWave* wave);

  std::array<TMixPlayEntry, kPlayEntryPoolSize> pool_{};
  TMixPlayEntry* free_entries_ = nullptr;
};

}  // namespace kelvarok
