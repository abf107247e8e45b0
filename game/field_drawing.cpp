// Drawing the field: everything that moves is erased by copying its rectangle
// back from CleanBack, and drawn as a mask (SRCAND) then a sprite (SRCPAINT).
#include "game/game_world.h"
#include "game/rock_sizes.h"

namespace kelvarok {

namespace {

constexpr int kShipSize = 27;
constexpr int kShipHalf = 13;

void Restore(Bitmap& field, const Bitmap& clean, int x, int y, int size) {
  BitBlt(field, x, y, size, size, clean, x, y, SRCCOPY);
}

// Frame `frame` of a strip of size x size frames, masked, at (x, y).
void DrawMasked(Bitmap& field, const Bitmap& mask, const Bitmap& sprite, int frame, int size, int x,
                int y) {
  BitBlt(field, x, y, size, size, mask, frame * size, 0, SRCAND);
  BitBlt(field, x, y, size, size, sprite, frame * size, 0, SRCPAINT);
}

}  // namespace

void GameWorld::RestoreField() {
  BitBlt(field, 0, 0, ToPixels(state.FieldW), ToPixels(state.FieldH), CleanBack, 0, 0, SRCCOPY);
  host_.InvalidateField();
}

void GameWorld::EraseShip(bool crashing) {
  const TShip& ship = state.CurShip();
  const int ox = ToPixels(ship.OldX);
  const int oy = ToPixels(ship.OldY);
  Restore(field, CleanBack, ox - kShipHalf, oy - kShipHalf, kShipSize);
  if (crashing) {
    Restore(field, CleanBack, ox - 2 * kShipHalf, oy - 2 * kShipHalf, kShipSize);
    Restore(field, CleanBack, ox, oy, kShipSize);
  }
}

void GameWorld::EraseRocks() {
  const RockTable& rocks = state.CurRocks();
  for (int i = 1; i <= kRockSlots; ++i) {
    const TRock& rock = rocks[i];
    if (!rock.Active) continue;
    const RockSize size = RockSizeOf(rock.Size);
    Restore(field, CleanBack, ToPixels(rock.OldX) - size.half, ToPixels(rock.OldY) - size.half,
            size.sprite);
  }
}

void GameWorld::DrawRocks() {
  RockTable& rocks = state.CurRocks();
  for (int i = 1; i <= kRockSlots; ++i) {
    TRock& rock = rocks[i];
    if (!rock.Active) continue;
    const RockSize size = RockSizeOf(rock.Size);
    const Bitmap* mask = &sprites_.irocksmallmask;
    const Bitmap* sprite = rock.Hard ? &sprites_.igrock : &sprites_.irocksmall;
    if (rock.Size == kBig) {
      mask = &sprites_.irockbigmask;
      sprite = &sprites_.irockbig;
    } else if (rock.Size == kMedium) {
      mask = &sprites_.irockmediummask;
      sprite = &sprites_.irockmedium;
    }
    DrawMasked(field, *mask, *sprite, rock.Frame / 2, size.sprite, ToPixels(rock.X) - size.half,
               ToPixels(rock.Y) - size.half);
    rock.OldX = rock.X;
    rock.OldY = rock.Y;
    rock.Frame += rock.Spin;
    if (rock.Frame >= 48)
      rock.Frame -= 48;
    else if (rock.Frame < 0)
      rock.Frame += 48;
  }
}

void GameWorld::DrawMissiles() {
  for (int m = 1; m <= kMissileSlots; ++m) {
    TMissile& missile = state.Missiles[m];
    if (missile.Life <= 0) continue;
    BitBlt(field, ToPixels(missile.X) - 1, ToPixels(missile.Y) - 1, 3, 3, sprites_.imissile, 0, 0,
           SRCCOPY);
    missile.OldX = missile.X;
    missile.OldY = missile.Y;
  }
}

void GameWorld::DrawShip(bool crashing) {
  TShip& ship = state.CurShip();
  if (ship.WarpTime != 0) return;
  const int px = ToPixels(ship.X);
  const int py = ToPixels(ship.Y);
  const bool shielded = state.ShieldTime > 0;
  if (crashing) {
    const int f = ship.Heading;
    DrawMasked(field, sprites_.icrashmask1, sprites_.icrash1, f, kShipSize, px - kShipHalf,
               py - kShipHalf);
    DrawMasked(field, sprites_.icrashmask2, sprites_.icrash2, f, kShipSize, px - 2 * kShipHalf,
               py - 2 * kShipHalf);
    DrawMasked(field, sprites_.icrashmask2, sprites_.icrash2, 17 - f, kShipSize, px, py);
  } else if (ship.Thrusting) {
    const int x = px - kShipHalf, y = py - kShipHalf, column = ship.Heading * kShipSize;
    BitBlt(field, x, y, kShipSize, kShipSize, sprites_.ishipfiremask, column, 0, SRCAND);
    PlayEffect(Effect::Thrust);
    BitBlt(field, x, y, kShipSize, kShipSize, shielded ? sprites_.ishieldfire : sprites_.ishipfire,
           column, 0, SRCPAINT);
    ship.Thrusting = false;
  } else {
    DrawMasked(field, sprites_.ishipmask, shielded ? sprites_.ishield : sprites_.iship,
               ship.Heading, kShipSize, px - kShipHalf, py - kShipHalf);
  }
  ship.OldX = ship.X;
  ship.OldY = ship.Y;
}

}  // namespace kelvarok
