#include "assets/generator/mottle.h"

#include <cmath>

#include "assets/generator/art_random.h"

namespace kelvarok::art {

namespace {

double Smooth(double t) {
  return t * t * (3 - 2 * t);
}

}  // namespace

Mottle::Mottle(std::uint64_t seed, double cell) : cell_(cell) {
  ArtRandom random(seed);
  for (double& node : nodes_) node = random.Unit();
}

double Mottle::Node(int i, int j) const {
  const int wi = ((i % kGrid) + kGrid) % kGrid, wj = ((j % kGrid) + kGrid) % kGrid;
  return nodes_[static_cast<std::size_t>(wj * kGrid + wi)];
}

double Mottle::At(Vec2 p) const {
  const double x = p.x / cell_, y = p.y / cell_;
  const double fx = std::floor(x), fy = std::floor(y);
  const int i = static_cast<int>(fx), j = static_cast<int>(fy);
  const double tx = Smooth(x - fx), ty = Smooth(y - fy);
  const double top = Node(i, j) + (Node(i + 1, j) - Node(i, j)) * tx;
  const double bottom = Node(i, j + 1) + (Node(i + 1, j + 1) - Node(i, j + 1)) * tx;
  return top + (bottom - top) * ty;
}

}  // namespace kelvarok::art
