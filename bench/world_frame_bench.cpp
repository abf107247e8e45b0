// One whole frame of world work (moves, erases, ageing and hit tests, draws,
// controls) with 32 rocks and 10 live missiles on the 750 x 450 field.
#include <benchmark/benchmark.h>

#include "game/game_world.h"
#include "game/silent_world_host.h"

namespace kelvarok {
namespace {

SpriteSet BenchSprites() {
  SpriteSet s;
  s.background = Bitmap(750, 450, Rgb(0, 0, 40));
  auto strip = [](int frames, int size) { return Bitmap(frames * size, size, Rgb(90, 90, 90)); };
  s.iship = s.ishield = s.ishipfire = s.ishieldfire = s.ishipmask = s.ishipfiremask = strip(36, 27);
  s.irockbig = s.irockbigmask = strip(24, 29);
  s.irockmedium = s.irockmediummask = strip(24, 21);
  s.irocksmall = s.igrock = s.irocksmallmask = strip(24, 13);
  s.imissile = Bitmap(3, 3, Rgb(255, 255, 0));
  s.icrash1 = s.icrashmask1 = s.icrash2 = s.icrashmask2 = strip(18, 27);
  return s;
}

void BM_WorldFrame(benchmark::State& bench) {
  const SpriteSet sprites = BenchSprites();
  const GameSettings settings;
  SilentWorldHost host;
  GameWorld world(sprites, settings, host, 1);
  GameState& s = world.state;
  // Rocks drift sideways in the upper band, missiles in the bottom band and
  // the ship sits between them, so every test runs in full and nothing hits.
  for (int i = 1; i <= kRockSlots; ++i) {
    TRock& r = s.CurRocks()[i];
    r = TRock{.Active = true, .Size = 1 + i % 3, .Frame = i, .Spin = i % 5 - 2};
    r.X = r.OldX = (i * 23) * kFixedOne;
    r.Y = r.OldY = (40 + (i % 8) * 30) * kFixedOne;
    r.VX = (i % 7 - 3) * 700;
  }
  s.RockCount[1] = kRockSlots;
  world.NewShip();
  s.CurShip().Y = s.CurShip().OldY = 340 * kFixedOne;
  for (auto _ : bench) {
    for (int m = 1; m <= kMissileSlots; ++m) {
      TMissile& missile = s.Missiles[m];
      if (missile.Life == 0)
        missile = TMissile{.Life = 20,
                           .X = m * 70 * kFixedOne,
                           .Y = 420 * kFixedOne,
                           .VX = 10240,
                           .OldX = m * 70 * kFixedOne,
                           .OldY = 420 * kFixedOne};
    }
    world.PlayFrame();
    benchmark::DoNotOptimize(world.field.pixels().data());
  }
  if (s.ShipHit) bench.SkipWithError("the ship was hit: the scene is not what it should be");
}
BENCHMARK(BM_WorldFrame)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace kelvarok
