#include "simulation/environment/gaussian_random.h"

#include <cmath>
#include <cstdlib>

namespace kv::sim {

namespace {

bool haveSpare = false;
double spare = 0.0;

/// A uniform draw in [-1, 1]. Scaled by the generator's own range: the C
/// library's RAND_MAX differs between platforms (32767 on some, 2^31 - 1 on
/// glibc), and a fixed 2/32767 would put nearly every draw outside the unit
/// circle where RAND_MAX is large, so the rejection loop would never end.
double uniformSigned() {
    return static_cast<double>(std::rand()) * (2.0 / static_cast<double>(RAND_MAX)) - 1.0;
}

} // namespace

void SeedGaussianRandom(unsigned seed) {
    std::srand(seed);
    haveSpare = false;
    spare = 0.0;
}

double GaussianRandom(double a, double b) {
    if (haveSpare) {
        haveSpare = false;
        return b + a * spare;
    }
    double x;
    double y;
    double s;
    do {
        x = uniformSigned();
        y = uniformSigned();
        s = x * x + y * y;
    } while (s >= 1.0 || s == 0.0);
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    spare = y * f;
    haveSpare = true;
    return b + a * x * f;
}

} // namespace kv::sim
