#pragma once
/// Physical constants and unit factors, the one home of every one of them.
///
/// Internal units are ft, slug, lbf, s and rad. Each value here is part of the
/// behaviour, not only of the physics: recorded motion, preference files and
/// dialogs are compared bit for bit, so a factor keeps the exact literal its
/// computations have always used (0.3048037 m/ft, not 0.3048).
///
/// Plain names are single precision, the working precision of the simulation.
/// A name ending in `D` is the double-precision form, for the few computations
/// (geodetic position, turbulence filters, DXF geometry, file conversion) that
/// run in double. Where a float and a double form must agree, a static_assert
/// below says so.

#include <bit>
#include <cstdint>

namespace kv {

// ---- Angles ---------------------------------------------------------------

/// pi in double precision.
inline constexpr double kPiD = 3.141592653589793;
/// 2 pi in double precision.
inline constexpr double kTwoPiD = 6.283185307179586;
/// pi, single precision.
inline constexpr float kPi = static_cast<float>(kPiD);
/// 2 pi, single precision (the wrap helpers' period).
inline constexpr float kTwoPi = static_cast<float>(kTwoPiD);
/// pi / 2, single precision.
inline constexpr float kHalfPi = static_cast<float>(kPiD / 2.0);

/// Degrees per radian (deg/rad), single precision.
inline constexpr float kDegPerRad = 57.29578f;
/// Radians per degree (rad/deg), single precision.
inline constexpr float kRadPerDeg = 0.017453292f;
/// Degrees per radian (deg/rad), double precision (geodetic latitude and longitude).
inline constexpr double kDegPerRadD = 57.29577951308238;
/// Degrees per radian rounded to seven digits, in double: the factor of the
/// navigation equations (latitude and longitude rates, deg/s).
inline constexpr double kDegPerRadShortD = 57.29578;
/// Radians per degree (rad/deg), double precision (DXF import rotation, scene files).
inline constexpr double kRadPerDegD = 0.017453292519943278;

/// Revolutions per minute per rad/s.
inline constexpr float kRpmPerRadPerSec = 9.549296f;
/// rad/s per revolution per minute.
inline constexpr float kRadPerSecPerRpm = static_cast<float>(kPiD / 30.0);

static_assert(kRadPerDeg == static_cast<float>(kPiD / 180.0));
static_assert(kDegPerRad == static_cast<float>(180.0 / kPiD));
static_assert(kRpmPerRadPerSec == static_cast<float>(30.0 / kPiD));
static_assert(kRadPerSecPerRpm == 0.10471975511965967f);
static_assert(kTwoPi == 6.2831853f);
static_assert(std::bit_cast<std::uint32_t>(kPi) == 0x40490FDBu);

// ---- Lengths --------------------------------------------------------------

/// Metres per foot (not 0.3048): the inverse of kFeetPerMetre, used throughout.
inline constexpr float kMetresPerFoot = 0.3048037f;
/// Metres per foot, double precision.
inline constexpr double kMetresPerFootD = 0.3048037;
/// Feet per metre; also the stored length-unit factor of metres.
inline constexpr float kFeetPerMetre = 3.2808f;
/// Feet per metre, double precision.
inline constexpr double kFeetPerMetreD = 3.2808;

static_assert(kMetresPerFoot == static_cast<float>(kMetresPerFootD));
static_assert(kFeetPerMetre == static_cast<float>(kFeetPerMetreD));

/// Feet per working unit of the other length units (the stored preference values).
inline constexpr float kFeetPerMillimetre = 0.0032808f;
inline constexpr float kFeetPerCentimetre = 0.032808f;
inline constexpr float kFeetPerInch = 0.08333232f;
inline constexpr float kFeetPerFoot = 1.0f;
inline constexpr float kFeetPerYard = 2.9999635f;

static_assert(std::bit_cast<std::uint32_t>(kFeetPerMillimetre) == 0x3B5702B1u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerCentimetre) == 0x3D0661AEu);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerMetre) == 0x4051F8A1u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerInch) == 0x3DAAAA23u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerFoot) == 0x3F800000u);
static_assert(std::bit_cast<std::uint32_t>(kFeetPerYard) == 0x403FFF67u);

/// Radius of the spherical earth model (ft).
inline constexpr double kEarthRadiusFt = 20925198.0;

// ---- Speeds ---------------------------------------------------------------

/// mph per ft/s.
inline constexpr float kMphPerFps = 0.6818179f;
/// km/h per ft/s.
inline constexpr float kKphPerFps = 1.0972934f;
/// ft/s per mph.
inline constexpr float kFpsPerMph = 1.4666673f;
/// ft/s per km/h.
inline constexpr float kFpsPerKph = 0.9113333f;
/// Knots per ft/s.
inline constexpr float kKnotsPerFps = 0.5924838f;
/// ft/s per knot.
inline constexpr float kFpsPerKnot = 1.6878098f;

// ---- Mass, force, power ---------------------------------------------------

/// Standard gravity (ft/s^2); load factors are always divided by this value.
inline constexpr float kStandardGravity = 32.17f;
/// Newtons per pound-force.
inline constexpr float kNewtonsPerPound = 4.4482217f;
/// Pound-force per newton.
inline constexpr float kPoundsPerNewton = 0.22480895f;
/// Slug per kilogram.
inline constexpr float kSlugPerKilogram = 0.06852178f;
/// Slug-ft^2 per kg-m^2.
inline constexpr float kSlugFt2PerKgM2 = 0.7375622f;
/// Slug per pound (mass) and slug-ft^2 per lb-ft^2: 1 / 32.17.
inline constexpr float kSlugPerPound = 0.031084863f;
/// Power of one horsepower (ft*lbf/s).
inline constexpr float kFootPoundsPerHorsepower = 550.0f;

static_assert(std::bit_cast<std::uint32_t>(kSlugPerKilogram) == 0x3D8C5526u);
static_assert(std::bit_cast<std::uint32_t>(kSlugFt2PerKgM2) == 0x3F3CD0E0u);

} // namespace kv
