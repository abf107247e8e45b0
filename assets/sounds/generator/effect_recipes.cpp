#include "assets/sounds/generator/effect_recipes.h"

#include <array>
#include <cmath>

#include "assets/sounds/generator/sfx_random.h"
#include "assets/sounds/generator/signal.h"

namespace kelvarok::sfx {

namespace {

// Where sample i lies in a sound of count samples, from 0 to just below 1.
double Progress(std::size_t i, std::size_t count) {
  return static_cast<double>(i) / static_cast<double>(count);
}

// A multiplier that, applied every sample, decays by e^-per_second each second
// (the first-order term is close enough at these rates).
double DecayStep(double per_second, double rate) {
  return 1.0 - per_second / rate;
}

// Rises linearly over length samples, so a sound does not start with a click.
double Attack(std::size_t i, double length) {
  const double x = static_cast<double>(i) / length;
  return x < 1.0 ? x : 1.0;
}

// Rounds off the level and the ending the same way for every effect.
std::vector<double> Finish(std::vector<double> samples, double peak, double fade_seconds,
                           double rate) {
  ScaleToPeak(samples, peak);
  FadeOut(samples, static_cast<std::size_t>(fade_seconds * rate));
  return samples;
}

}  // namespace

std::vector<double> Explosion(std::size_t count, double rate) {
  SfxRandom random(0x4B454C56'00000000ull);
  LowPass first, second;
  Oscillator thump;
  std::vector<double> out(count);
  double body = 1.0, crack = 1.0, boom = 1.0;
  const double body_step = DecayStep(2.4, rate), crack_step = DecayStep(40.0, rate),
               boom_step = DecayStep(6.0, rate);
  for (std::size_t i = 0; i < count; ++i) {
    const double u = Progress(i, count);
    const double noise = random.Noise();
    const double cutoff = 300.0 + 2600.0 * (1.0 - u) * (1.0 - u);
    const double rumble = second.Step(first.Step(noise, cutoff, rate), cutoff, rate);
    const double thump_pitch = 35.0 + 55.0 * (1.0 - u) * (1.0 - u);
    const double low = Sine(thump.Advance(thump_pitch, rate));
    const double x = 6.0 * rumble * body + 0.3 * noise * crack + 0.6 * low * boom;
    out[i] = Attack(i, 0.002 * rate) * x / (1.0 + std::abs(x));  // soft saturation
    body *= body_step;
    crack *= crack_step;
    boom *= boom_step;
  }
  return Finish(std::move(out), 0.95, 0.15, rate);
}

std::vector<double> Hyperspace(std::size_t count, double rate) {
  Oscillator tone, warble;
  std::vector<double> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double u = Progress(i, count);
    const double pitch = 160.0 + 1500.0 * u * u;
    const double phase = tone.Advance(pitch, rate);
    const double level = 0.7 + 0.3 * Sine(warble.Advance(14.0, rate));
    out[i] = Attack(i, 0.015 * rate) * level * (Sine(phase) + 0.35 * Sine(2.0 * phase));
  }
  return Finish(std::move(out), 0.9, 0.12, rate);
}

std::vector<double> Missile(std::size_t count, double rate) {
  SfxRandom random(0x4B454C56'00000002ull);
  Oscillator tone;
  std::vector<double> out(count);
  double hiss = 1.0;
  const double hiss_step = DecayStep(30.0, rate);
  for (std::size_t i = 0; i < count; ++i) {
    const double u = Progress(i, count);
    const double pitch = 300.0 + 1700.0 * (1.0 - u) * (1.0 - u);
    const double phase = tone.Advance(pitch, rate);
    // A square wave from its odd harmonics; each fades in as the falling pitch
    // brings it below the Nyquist limit, so none of them enters with a click.
    const double limit = 0.45 * rate, band = 0.05 * rate;
    double square = 0.0;
    for (int k = 1; k * pitch < limit; k += 2) {
      const double weight = (limit - k * pitch) / band;
      square += (weight < 1.0 ? weight : 1.0) * Sine(k * phase) / k;
    }
    out[i] =
        Attack(i, 0.001 * rate) * (1.0 - u) * (1.0 - u) * (square + 0.15 * random.Noise() * hiss);
    hiss *= hiss_step;
  }
  return Finish(std::move(out), 0.95, 0.02, rate);
}

std::vector<double> Thrust(std::size_t count, double rate) {
  SfxRandom random(0x4B454C56'00000003ull);
  LowPass first, second;
  Oscillator hum;
  // Let the filters settle first, so the sound is at full loudness as soon as
  // its 4 ms fade-in (no click when thrust starts from silence) is over.
  for (int i = 0; i < 400; ++i) second.Step(first.Step(random.Noise(), 320.0, rate), 320.0, rate);
  std::vector<double> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double rumble = second.Step(first.Step(random.Noise(), 320.0, rate), 320.0, rate);
    const double x = 5.0 * rumble + 0.25 * Sine(hum.Advance(48.0, rate));
    // Soft saturation: loud but never hard-clipped.
    out[i] = Attack(i, 0.004 * rate) * x / (1.0 + std::abs(x));
  }
  return Finish(std::move(out), 0.95, 0.16, rate);
}

std::vector<double> Bonus(std::size_t count, double rate) {
  struct Partial {
    double ratio, level, decay;
  };
  constexpr std::array<double, 4> kNotes = {783.99, 987.77, 1174.66, 1567.98};  // G5 B5 D6 G6
  constexpr std::array<Partial, 3> kBell = {
      {{1.0, 1.0, 9.0}, {2.0, 0.25, 18.0}, {2.76, 0.12, 27.0}}};
  const double spacing = 0.13;
  std::vector<double> out(count, 0.0);
  for (std::size_t n = 0; n < kNotes.size(); ++n) {
    const auto start = static_cast<std::size_t>(static_cast<double>(n) * spacing * rate);
    for (const Partial& partial : kBell) {
      Oscillator tone;
      double level = partial.level;
      const double step = DecayStep(partial.decay, rate);
      for (std::size_t i = start; i < count; ++i) {
        out[i] += Attack(i - start, 0.002 * rate) * level *
                  Sine(tone.Advance(kNotes[n] * partial.ratio, rate));
        level *= step;
      }
    }
  }
  return Finish(std::move(out), 0.9, 0.07, rate);
}

}  // namespace kelvarok::sfx
