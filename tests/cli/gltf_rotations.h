#pragma once
/// Rotations read back from a glTF file by the Node.js checks, compared with
/// what the motion file says.

#include "support/json_value.h"

#include <array>

namespace kv::clitest {

/// A quaternion (x, y, z, w) from its JSON array.
std::array<double, 4> quaternionOf(const jsontest::JsonValue& v);

/// Angle (deg) of the turn from one attitude to another, both unit
/// quaternions. From the chord and its complement rather than an arccosine of
/// their dot product, which loses all precision for nearly equal attitudes.
double angleBetween(const std::array<double, 4>& a, const std::array<double, 4>& b);

/// `v` turned by the unit quaternion `q` (x, y, z, w).
std::array<double, 3> rotate(const std::array<double, 4>& q, const std::array<double, 3>& v);

} // namespace kv::clitest
