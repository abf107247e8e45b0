#include "assets/sounds/generator/signal.h"

#include <algorithm>
#include <cmath>

namespace kelvarok::sfx {

double Sine(double cycles) {
  // Reduce to x in [-π/2, π/2] by the sine's symmetries, then a Taylor
  // polynomial good to about 1e-8 there.
  double turn = cycles - std::floor(cycles);  // [0, 1)
  if (turn > 0.5) turn -= 1.0;                // (-0.5, 0.5]
  if (turn > 0.25) turn = 0.5 - turn;
  if (turn < -0.25) turn = -0.5 - turn;
  const double x = 2.0 * kPi * turn;
  const double x2 = x * x;
  double term = x;
  double sum = x;
  for (int k = 1; k <= 6; ++k) {
    term *= -x2 / static_cast<double>((2 * k) * (2 * k + 1));
    sum += term;
  }
  return sum;
}

double Oscillator::Advance(double frequency, double rate) {
  const double phase = phase_;
  phase_ += frequency / rate;
  phase_ -= std::floor(phase_);
  return phase;
}

double LowPass::Step(double input, double cutoff, double rate) {
  // The bilinear-style coefficient w / (1 + w) stays stable for any cutoff.
  const double w = 2.0 * kPi * cutoff / rate;
  state_ += (input - state_) * (w / (1.0 + w));
  return state_;
}

void ScaleToPeak(std::vector<double>& samples, double peak) {
  double largest = 0.0;
  for (const double s : samples) largest = std::max(largest, std::abs(s));
  if (largest == 0.0) return;
  const double gain = peak / largest;
  for (double& s : samples) s *= gain;
}

void FadeOut(std::vector<double>& samples, std::size_t count) {
  count = std::min(count, samples.size());
  const std::size_t start = samples.size() - count;
  for (std::size_t i = 0; i < count; ++i) {
    // A squared ramp: the last sample of the fade is 0.
    const double left = static_cast<double>(count - 1 - i) / static_cast<double>(count);
    samples[start + i] *= left * left;
  }
}

std::vector<std::uint8_t> ToUnsigned8(const std::vector<double>& samples) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(samples.size());
  for (const double s : samples) {
    const double level = std::floor(128.0 + 127.0 * std::clamp(s, -1.0, 1.0) + 0.5);
    bytes.push_back(static_cast<std::uint8_t>(level));
  }
  return bytes;
}

}  // namespace kelvarok::sfx
