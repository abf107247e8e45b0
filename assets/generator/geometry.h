// Points, directions and the light that shades every picture.
#pragma once

#include <cmath>

namespace kelvarok::art {

constexpr double kPi = 3.14159265358979323846;

// A point or offset in pixels; x grows to the right, y downward.
struct Vec2 {
  double x = 0;
  double y = 0;
};

constexpr Vec2 operator+(Vec2 a, Vec2 b) {
  return {a.x + b.x, a.y + b.y};
}
constexpr Vec2 operator-(Vec2 a, Vec2 b) {
  return {a.x - b.x, a.y - b.y};
}
constexpr Vec2 operator*(Vec2 a, double k) {
  return {a.x * k, a.y * k};
}
constexpr double Dot(Vec2 a, Vec2 b) {
  return a.x * b.x + a.y * b.y;
}
inline double Length(Vec2 a) {
  return std::sqrt(Dot(a, a));
}

// A direction on the screen, counter-clockwise from pointing right, as the
// game's headings turn. Along() is the unit vector it points at; Side() is
// that vector turned a quarter clockwise on the screen.
class Direction {
 public:
  explicit Direction(double radians) : c_(std::cos(radians)), s_(std::sin(radians)) {}

  // The direction of step `step` of `steps` equal steps of a full turn.
  static Direction Step(int step, int steps) { return Direction(2 * kPi * step / steps); }

  // This direction turned further counter-clockwise by `turn`.
  Direction Plus(Direction turn) const {
    return Direction(c_ * turn.c_ - s_ * turn.s_, s_ * turn.c_ + c_ * turn.s_);
  }

  Vec2 Along() const { return {c_, -s_}; }
  Vec2 Side() const { return {s_, c_}; }

  // The offset p expressed in this direction's own axes: x along, y to the side.
  Vec2 ToLocal(Vec2 p) const { return {Dot(p, Along()), Dot(p, Side())}; }
  // The inverse of ToLocal.
  Vec2 FromLocal(Vec2 q) const { return Along() * q.x + Side() * q.y; }

 private:
  Direction(double c, double s) : c_(c), s_(s) {}

  double c_;
  double s_;
};

// A surface normal: x, y as on the screen, z towards the viewer.
struct Normal {
  double x = 0;
  double y = 0;
  double z = 1;
};

// The normal of a sphere of the given radius at screen offset p from its centre
// (p inside the sphere's outline).
Normal SphereNormal(Vec2 p, double radius);

// The normal across a tube or bevel: t runs -1 .. 1 from one edge to the other,
// across the screen direction `across`.
Normal TubeNormal(Vec2 across, double t);

// Brightness 0..1 of a matt surface lit from the upper left, with some ambient light.
double Diffuse(Normal n);
// The glint of a polished surface, 0..1, sharp around the light's reflection.
double Glint(Normal n);

}  // namespace kelvarok::art
