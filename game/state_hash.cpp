#include "game/state_hash.h"

#include <string>

namespace kelvarok {
namespace {

// FNV-1a over 32-bit values and text, independent of the machine's byte
// order and of padding.
class Fnv {
 public:
  void Add(std::int64_t value) {
    for (int shift = 0; shift < 64; shift += 8) Byte(static_cast<std::uint8_t>(value >> shift));
  }
  void Add(const std::string& text) {
    Add(static_cast<std::int64_t>(text.size()));
    for (const char c : text) Byte(static_cast<std::uint8_t>(c));
  }
  std::uint64_t value() const { return hash_; }

 private:
  void Byte(std::uint8_t byte) {
    hash_ ^= byte;
    hash_ *= 0x100000001B3ull;
  }
  std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

void AddPlayers(Fnv& hash, const GameState& state) {
  hash.Add(state.NumPlayers);
  for (int p = 1; p <= state.NumPlayers; ++p) {
    hash.Add(state.Score[p]);
    hash.Add(state.RoundNo[p]);
    hash.Add(state.ShipsLeft[p]);
  }
}

}  // namespace

std::uint32_t CheckpointHash(const GameWorld& world) {
  const GameState& state = world.state;
  Fnv hash;
  AddPlayers(hash, state);
  hash.Add(state.CurPlayer);
  hash.Add(state.RockCount[state.CurPlayer]);
  hash.Add(state.ShieldTime);
  hash.Add(state.BonusMode);
  const TShip& ship = state.Ships[state.CurPlayer];
  for (const std::int32_t value : {ship.X, ship.Y, ship.VX, ship.VY, ship.Heading, ship.WarpTime})
    hash.Add(value);
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& rock = state.Rocks[state.CurPlayer][i];
    if (!rock.Active) continue;
    for (const std::int32_t value : {rock.X, rock.Y, rock.VX, rock.VY, rock.Size}) hash.Add(value);
  }
  for (int m = 1; m <= kMissileSlots; ++m) {
    const TMissile& missile = state.Missiles[m];
    if (missile.Life == 0) continue;
    for (const std::int32_t value : {missile.Life, missile.X, missile.Y}) hash.Add(value);
  }
  hash.Add(static_cast<std::int64_t>(world.random.State()));
  return static_cast<std::uint32_t>(hash.value() ^ (hash.value() >> 32));
}

std::uint64_t FinalHash(const GameState& state, const HiScoreTable& hiscores) {
  Fnv hash;
  AddPlayers(hash, state);
  for (int place = 1; place <= kHiScorePlaces; ++place) {
    hash.Add(hiscores[place].Score);
    hash.Add(hiscores[place].Round);
    hash.Add(hiscores[place].Name);
  }
  return hash.value();
}

}  // namespace kelvarok
