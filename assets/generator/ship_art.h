// The ship: a grey ball with a short nose spike inside a ring of four arcs,
// optionally with the thrust flame. Sizes are pixels of the 27 x 27 frame; the
// icons draw the same shapes scaled.
#pragma once

#include <optional>

#include "assets/generator/colour.h"
#include "assets/generator/geometry.h"

namespace kelvarok::art {

// Everything of the ship lies within this distance of its centre.
constexpr double kShipReach = 13.0;

struct ShipLook {
  bool shield = false;  // green ring instead of grey
  bool flame = false;   // thrust flame behind the ball
};

// What the whole ship shows at offset p from its centre, nose along `heading`.
std::optional<Colour> ShipAt(Vec2 p, Direction heading, ShipLook look);

// The ball with its spike alone: the first piece of the wreck.
std::optional<Colour> ShipBodyAt(Vec2 p, Direction heading);

// One grey arc of the ring, the ring's centre at offset `hub` from p's origin,
// the arc's middle along `middle` from there: the other pieces of the wreck.
std::optional<Colour> RingArcAt(Vec2 p, Vec2 hub, Direction middle);

}  // namespace kelvarok::art
