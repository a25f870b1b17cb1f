#include "app/settings/coordinate_system.h"

namespace kv::app {

geom::DxfAxes coordinateSystemOf(std::int32_t rightHandedAxes) {
    switch (rightHandedAxes) {
    case kStoredLeftHand:
        return geom::DxfAxes::LeftHand;
    case kStoredZUp:
        return geom::DxfAxes::ZUp;
    default:
        return geom::DxfAxes::RightHand;
    }
}

std::int32_t storedCoordinateSystem(geom::DxfAxes axes) {
    switch (axes) {
    case geom::DxfAxes::LeftHand:
        return kStoredLeftHand;
    case geom::DxfAxes::ZUp:
        return kStoredZUp;
    case geom::DxfAxes::RightHand:
        break;
    }
    return kStoredRightHand;
}

bool showsUp(std::int32_t rightHandedAxes) {
    return coordinateSystemOf(rightHandedAxes) != geom::DxfAxes::RightHand;
}

} // namespace kv::app
