// kelvarok-showcase OUT.png: draws a field with rocks of every size, a hard
// rock, missiles and the ship plain, shielded, thrusting and crashing through
// the game's own drawing code, and saves it as a PNG.
#include <cstdio>
#include <string>

#include "assets/sprites.h"
#include "game/game_world.h"
#include "game/silent_world_host.h"
#include "platform/png.h"

namespace kelvarok {
namespace {

void PlaceRock(GameWorld& world, int slot, std::int32_t size, bool hard, int x, int y, int frame) {
  TRock& rock = world.state.CurRocks()[slot];
  rock = TRock{.Active = true, .Hard = hard, .Size = size, .Frame = frame};
  rock.X = x * kFixedOne;
  rock.Y = y * kFixedOne;
}

void DrawShipAt(GameWorld& world, int x, int y, int heading, bool shield, bool thrust,
                bool crashing) {
  TShip& ship = world.state.CurShip();
  ship.X = x * kFixedOne;
  ship.Y = y * kFixedOne;
  ship.Heading = heading;
  ship.Thrusting = thrust;
  world.state.ShieldTime = shield ? 250 : 0;
  world.DrawShip(crashing);
}

}  // namespace
}  // namespace kelvarok

int main(int argc, char** argv) {
  using namespace kelvarok;
  if (argc != 2) {
    std::fprintf(stderr, "usage: kelvarok-showcase OUT.png\n");
    return 2;
  }
  const SpriteSet sprites = LoadSprites();
  const GameSettings settings;
  SilentWorldHost host;
  GameWorld world(sprites, settings, host, 1);

  int slot = 1;
  for (int i = 0; i < 4; ++i) PlaceRock(world, slot++, 1, false, 90 + 60 * i, 80, i * 12);
  for (int i = 0; i < 4; ++i) PlaceRock(world, slot++, 2, false, 90 + 60 * i, 160, i * 12);
  for (int i = 0; i < 4; ++i) PlaceRock(world, slot++, 3, false, 90 + 60 * i, 230, i * 12);
  PlaceRock(world, slot++, 3, true, 330, 300, 0);
  PlaceRock(world, slot++, 3, true, 370, 300, 20);
  PlaceRock(world, slot++, 1, false, 0, 400, 6);  // cut off at the left edge
  world.DrawRocks();

  for (int m = 1; m <= 6; ++m) {
    TMissile& missile = world.state.Missiles[m];
    missile = TMissile{.Life = 20, .X = (480 + 12 * m) * kFixedOne, .Y = (120 - 6 * m) * kFixedOne};
  }
  world.DrawMissiles();

  DrawShipAt(world, 480, 200, 9, false, false, false);  // plain, nose up
  DrawShipAt(world, 540, 200, 4, true, false, false);   // shielded
  DrawShipAt(world, 600, 200, 0, false, true, false);   // thrusting right
  DrawShipAt(world, 660, 200, 27, true, true, false);   // shielded, thrusting down
  DrawShipAt(world, 570, 320, 5, false, false, true);   // crash debris

  if (!WritePngFile(argv[1], world.field)) {
    std::fprintf(stderr, "kelvarok-showcase: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("Wrote the field to %s\n", argv[1]);
  return 0;
}
