#pragma once
/// Normally distributed random numbers on the C library generator.
///
/// The generator is the process-wide `rand`; every run seeds it afresh so that
/// two runs from the same conditions produce the same turbulence.

namespace kv::sim {

/// Seed every run starts from.
inline constexpr unsigned kRunRandomSeed = 1;

/// Seeds the C library generator with `seed` and drops the spare sample, so the
/// next draws depend on the seed alone.
void SeedGaussianRandom(unsigned seed);

/// b + a*N(0, 1) by the polar method. Samples come in pairs: the second of a
/// pair is kept and returned by the next call. A call with a = 0 still uses up
/// its sample.
double GaussianRandom(double a, double b);

} // namespace kv::sim
