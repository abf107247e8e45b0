// Building blocks of the effect recordings. Everything is plain double
// arithmetic (no library transcendentals), so the samples are bit-identical
// wherever the generator runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvarok::sfx {

constexpr double kPi = 3.14159265358979323846;

// sin(2π · cycles).
double Sine(double cycles);

// A phase accumulator: Advance by the frequency of this sample, read the sine.
class Oscillator {
 public:
  // Returns the phase in cycles, in [0, 1), before advancing.
  double Advance(double frequency, double rate);

 private:
  double phase_ = 0.0;
};

// A one-pole low-pass filter whose cutoff may change every sample.
class LowPass {
 public:
  double Step(double input, double cutoff, double rate);

 private:
  double state_ = 0.0;
};

// Scales the samples so that the largest magnitude becomes peak.
void ScaleToPeak(std::vector<double>& samples, double peak);

// Brings the last count samples smoothly down to exactly 0, so the sound
// ends on silence without a click.
void FadeOut(std::vector<double>& samples, std::size_t count);

// 8-bit unsigned PCM: -1..1 becomes 1..255 around the silence value 128.
std::vector<std::uint8_t> ToUnsigned8(const std::vector<double>& samples);

}  // namespace kelvarok::sfx
