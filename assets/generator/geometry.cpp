#include "assets/generator/geometry.h"

#include <algorithm>

namespace kelvarok::art {

namespace {

// The light comes from the upper left and in front of the screen.
constexpr double kLightX = -0.55, kLightY = -0.62, kLightZ = 0.56;
constexpr double kAmbient = 0.22;

Normal Unit(double x, double y, double z) {
  const double len = std::sqrt(x * x + y * y + z * z);
  return {x / len, y / len, z / len};
}

double Facing(Normal n, Normal light) {
  return std::max(0.0, n.x * light.x + n.y * light.y + n.z * light.z);
}

}  // namespace

Normal SphereNormal(Vec2 p, double radius) {
  const Vec2 q = p * (1 / radius);
  return {q.x, q.y, std::sqrt(std::max(0.0, 1 - Dot(q, q)))};
}

Normal TubeNormal(Vec2 across, double t) {
  const double z = std::sqrt(std::max(0.0, 1 - t * t));
  return {across.x * t, across.y * t, z};
}

double Diffuse(Normal n) {
  return kAmbient + (1 - kAmbient) * Facing(n, Unit(kLightX, kLightY, kLightZ));
}

double Glint(Normal n) {
  double g = Facing(n, Unit(kLightX, kLightY, kLightZ + 1));
  for (int i = 0; i < 5; ++i) g *= g;  // g^32
  return g;
}

}  // namespace kelvarok::art
