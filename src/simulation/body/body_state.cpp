#include "simulation/body/body_state.h"

#include <cassert>

namespace kv::sim {

double BodyState::element(int i) const {
    assert(i >= 0 && i < kStateElementCount);
    switch (i) {
    case 0:
        return latitude;
    case 1:
        return longitude;
    case 2:
        return altitude;
    default:
        break;
    }
    if (i < 6)
        return velocity[static_cast<std::size_t>(i - 3)];
    if (i < 9)
        return rates[static_cast<std::size_t>(i - 6)];
    return quat[static_cast<std::size_t>(i - 9)];
}

void BodyState::setElement(int i, double value) {
    assert(i >= 0 && i < kStateElementCount);
    const float narrow = static_cast<float>(value);
    switch (i) {
    case 0:
        latitude = value;
        return;
    case 1:
        longitude = value;
        return;
    case 2:
        altitude = narrow;
        return;
    default:
        break;
    }
    if (i < 6) {
        velocity[static_cast<std::size_t>(i - 3)] = narrow;
    } else if (i < 9) {
        rates[static_cast<std::size_t>(i - 6)] = narrow;
    } else {
        quat[static_cast<std::size_t>(i - 9)] = narrow;
    }
}

double StateDerivative::element(int i) const {
    assert(i >= 0 && i < kStateElementCount);
    switch (i) {
    case 0:
        return latitudeRate;
    case 1:
        return longitudeRate;
    case 2:
        return altitudeRate;
    default:
        break;
    }
    if (i < 6)
        return acceleration[static_cast<std::size_t>(i - 3)];
    if (i < 9)
        return angularAcceleration[static_cast<std::size_t>(i - 6)];
    return quatRate[static_cast<std::size_t>(i - 9)];
}

} // namespace kv::sim
