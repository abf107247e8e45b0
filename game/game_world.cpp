#include "game/game_world.h"

namespace kelvarok {

GameWorld::GameWorld(const SpriteSet& sprites, const GameSettings& settings, WorldHost& host,
                     std::uint64_t seed)
    : state(sprites.background.width(), sprites.background.height()),
      random(seed),
      field(sprites.background),
      CleanBack(sprites.background),
      sprites_(sprites),
      settings_(settings),
      host_(host) {}

void GameWorld::PlayFrame() {
  TShip& ship = state.CurShip();
  MoveShip();
  if (ship.WarpTime > 0) {
    --ship.WarpTime;
    if (ship.WarpTime == 0) PlayEffect(Effect::Hyperspace);
  }
  MoveRocks();
  MoveMissiles();
  EraseShip(false);
  EraseRocks();
  AgeMissiles();
  if (ship.WarpTime == 0 && state.ShieldTime == 0) ShipHitsRock(ship.X, ship.Y);
  DrawRocks();
  DrawMissiles();
  DrawShip(false);
  host_.InvalidateField();
  ReadControls();
}

void GameWorld::PlayEffect(Effect effect) {
  if (settings_.*SoundSwitch(effect)) host_.SoundEffect(effect);
}

}  // namespace kelvarok
