// kelvarok-showcase OUT.png: draws a field with rocks of every size, a hard
// rock, missiles and the ship plain, shielded, thrusting and crashing through
// the game's own drawing code, and saves it as a PNG.
#include <cstdio>
#include <string>

#include "assets/sprites.h"
#include "game/game_world.h"
#include "game/silent_world_host.h"
#include "platform/png.h"
#include "platform/program_questions.h"

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
  constexpr char kUsage[] = "usage: kelvarok-showcase [--] OUT.png\n";
  if (const auto answered = AnswerProgramQuestion(
          argc, argv, "kelvarok-showcase",
          "usage: kelvarok-showcase [--] OUT.png\n"
          "       kelvarok-showcase --help | -h | --version\n\n"
          "Draws a field with rocks of every size, a green rock, missiles and the ship\n"
          "plain, shielded, thrusting and crashing, through the game's own drawing\n"
          "code, and saves it as the PNG picture OUT.png.\n"))
    return *answered;
  const std::optional<std::string> file = SoleFileArgument(argc, argv);
  if (!file) {
    std::fputs(kUsage, stderr);
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

  if (!WritePngFile(file->c_str(), world.field)) {
    std::fprintf(stderr, "kelvarok-showcase: cannot write %s\n", file->c_str());
    return 1;
  }
  std::printf("Wrote the field to %s\n", file->c_str());
  return 0;
}
