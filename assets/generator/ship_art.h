// The ship: a grey arrow whose tip points along its heading, a head with two
// swept-back barbs on a straight fuselage; optionally the thrust flame out of
// the tail and the shield, a green ring around it. Sizes are pixels of the
// 27 x 27 frame; the icons draw the same shapes scaled.
#pragma once

#include <optional>

#include "assets/generator/colour.h"
#include "assets/generator/geometry.h"

namespace kelvarok::art {

// The ship's tip, the point of the unshielded ship (flame included) farthest
// from its centre.
constexpr double kShipReach = 11.4;

struct ShipLook {
  bool shield = false;  // the green ring around the ship
  bool flame = false;   // thrust flame behind the tail
};

// What the whole ship shows at offset p from its centre, tip along `heading`.
std::optional<Colour> ShipAt(Vec2 p, Direction heading, ShipLook look);

// The pieces of the wreck, each turned by `turn` about its own middle at p's
// origin: the head with the tip (pointing along `turn`), and the fuselage
// behind it.
std::optional<Colour> ShipNosePieceAt(Vec2 p, Direction turn);
std::optional<Colour> ShipTailPieceAt(Vec2 p, Direction turn);

}  // namespace kelvarok::art
