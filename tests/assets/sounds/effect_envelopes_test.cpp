// Each committed effect sounds like what it is: the shape of its loudness and
// pitch over time, measured on the samples the game plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "tests/assets/sounds/committed_effects.h"

namespace kelvarok {
namespace {

using testing::CommittedSamples;
using testing::kExpectedEffects;
using testing::Rms;
using testing::Tenths;
using testing::Windows;
using testing::ZeroCrossingRate;

std::vector<double> Measure(const std::vector<std::span<const int>>& windows,
                            double (*measure)(std::span<const int>)) {
  std::vector<double> values;
  for (const auto window : windows) values.push_back(measure(window));
  return values;
}

std::size_t Milliseconds(double ms, std::uint32_t rate) {
  return static_cast<std::size_t>(ms * rate / 1000.0);
}

double LoudestWindow(std::span<const int> samples, std::size_t length) {
  const std::vector<double> levels = Measure(Windows(samples, length), Rms);
  return *std::max_element(levels.begin(), levels.end());
}

TEST(EffectEnvelopes, EveryEffectEndsOnSilence) {
  for (const testing::ExpectedEffect& effect : kExpectedEffects) {
    SCOPED_TRACE(effect.file);
    const std::vector<int> samples = CommittedSamples(effect.file);
    ASSERT_EQ(samples.size(), effect.data_bytes);
    EXPECT_EQ(samples.back(), 0) << "the last sample is 128";
    const std::size_t tail = Milliseconds(5, effect.rate);
    const std::span<const int> all(samples);
    EXPECT_LT(Rms(all.last(tail)), 0.02 * LoudestWindow(all, tail));
    EXPECT_GT(LoudestWindow(all, tail), 30.0) << "loud enough to be heard";
  }
}

TEST(EffectEnvelopes, ExplosionIsALowNoiseBurstThatDiesAway) {
  const std::vector<int> samples = CommittedSamples("explosion.wav");
  const std::vector<double> level = Measure(Tenths(samples), Rms);
  const std::vector<double> crossings = Measure(Tenths(samples), ZeroCrossingRate);
  ASSERT_EQ(level.size(), 10u);
  EXPECT_LT(level[9], 0.1 * level[0]);
  for (std::size_t k = 1; k < level.size(); ++k) EXPECT_LT(level[k], level[k - 1]) << k;
  // White noise changes sign about every other sample; low-passed noise far less.
  EXPECT_LT(crossings[0], 0.25);
  EXPECT_LT(crossings[8], crossings[0]) << "darkens as it decays";
}

TEST(EffectEnvelopes, HyperspaceSweepsInOneDirectionAtAnEvenLevel) {
  const std::vector<int> samples = CommittedSamples("hyperspace.wav");
  const std::vector<double> level = Measure(Tenths(samples), Rms);
  const std::vector<double> crossings = Measure(Tenths(samples), ZeroCrossingRate);
  ASSERT_EQ(crossings.size(), 10u);
  const bool rising = crossings[1] > crossings[0];
  for (std::size_t k = 1; k < crossings.size(); ++k)
    EXPECT_EQ(crossings[k] > crossings[k - 1], rising) << k;
  EXPECT_GT(crossings[9] / crossings[0], 3.0) << "a wide sweep";
  const double loudest = *std::max_element(level.begin(), level.end());
  for (std::size_t k = 0; k < 9; ++k) EXPECT_GT(level[k], 0.6 * loudest) << k;
}

TEST(EffectEnvelopes, MissileStartsLoudAndFallsInPitch) {
  const std::vector<int> samples = CommittedSamples("missile.wav");
  const std::span<const int> all(samples);
  EXPECT_GT(Rms(all.first(Milliseconds(10, 11025))), 0.8 * LoudestWindow(all, 110));
  const std::vector<double> crossings = Measure(Tenths(samples), ZeroCrossingRate);
  for (std::size_t k = 1; k < 9; ++k) EXPECT_LT(crossings[k], crossings[k - 1]) << k;
}

// The game restarts the thrust sound every 40 ms frame, so its opening must
// be at full loudness after a fade-in of a few milliseconds, which keeps a
// thrust that starts from silence from clicking.
TEST(EffectEnvelopes, ThrustFadesInOverAFewMillisecondsToFullLoudness) {
  const std::vector<int> samples = CommittedSamples("thrust.wav");
  const std::span<const int> all(samples);
  const std::size_t frame = Milliseconds(40, 11025);
  const double loudest = LoudestWindow(all, frame);
  EXPECT_GT(Rms(all.first(frame)), 0.8 * loudest);
  EXPECT_GT(Rms(all.subspan(Milliseconds(5, 11025), Milliseconds(5, 11025))), 0.6 * loudest);
  EXPECT_LE(std::abs(samples.front()), 1) << "starts on silence";
  EXPECT_LT(Rms(all.first(Milliseconds(2, 11025))), 0.4 * loudest) << "rises gradually";
  // A low rumble: few sign changes.
  EXPECT_LT(ZeroCrossingRate(all), 0.1);
}

// A chime of a few rising tones: each onset brings a jump in loudness and a
// higher pitch than the one before.
TEST(EffectEnvelopes, BonusIsAChimeOfRisingTones) {
  const std::vector<int> samples = CommittedSamples("bonus.wav");
  const std::vector<std::span<const int>> windows = Windows(samples, Milliseconds(10, 11025));
  const std::vector<double> level = Measure(windows, Rms);
  std::vector<double> onset_pitch;
  for (std::size_t k = 0; k + 2 < windows.size(); ++k) {
    if (k == 0 || level[k] > 1.3 * level[k - 1])
      onset_pitch.push_back(ZeroCrossingRate(windows[k + 1]) + ZeroCrossingRate(windows[k + 2]));
  }
  EXPECT_GE(onset_pitch.size(), 3u);
  EXPECT_LE(onset_pitch.size(), 6u);
  for (std::size_t n = 1; n < onset_pitch.size(); ++n)
    EXPECT_GT(onset_pitch[n], onset_pitch[n - 1]) << "tone " << n;
}

}  // namespace
}  // namespace kelvarok
