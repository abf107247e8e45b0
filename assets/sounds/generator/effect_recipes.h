// How each of the game's five sounds is made: count samples at rate, in -1..1,
// ending on silence.
#pragma once

#include <cstddef>
#include <vector>

namespace kelvarok::sfx {

// Low-passed noise with a falling thump, bright at first and darkening as it
// dies away.
std::vector<double> Explosion(std::size_t count, double rate);

// A warbling tone that sweeps upward the whole time.
std::vector<double> Hyperspace(std::size_t count, double rate);

// A bright buzz that starts loud and high and falls quickly in pitch.
std::vector<double> Missile(std::size_t count, double rate);

// A steady low rumble, already at full loudness on its first sample, so that
// restarting it every frame sounds continuous.
std::vector<double> Thrust(std::size_t count, double rate);

// Four bell tones, each higher than the last, ringing into one another.
std::vector<double> Bonus(std::size_t count, double rate);

}  // namespace kelvarok::sfx
