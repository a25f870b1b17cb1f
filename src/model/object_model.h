#pragma once
/// Operations on one object record: reset, effector tree checks and the limits
/// the effector editor enforces, with their user messages.

#include "model/object_record.h"

#include <string>
#include <string_view>

namespace kv::model {

/// Mass of a reset record (slug): so heavy that nothing moves it.
inline constexpr float kResetMass = 1.0e30f;

/// Clears a record to the state of a new, empty object.
void resetObject(ObjectRecord& r);

/// Makes `r` an empty camera: a reset record of vehicle type -1 in Black.
void resetCamera(ObjectRecord& r);

/// True when every parent chain ends at -1 within 30 steps and every parent
/// index is below the effector count.
bool checkEffectorTree(const ObjectRecord& r);

/// Removes effector `index`: drops it from every children list, renumbers
/// child indices above it, shifts the later effectors down and decrements the
/// count. Parent fields are left as they are.
void deleteEffector(ObjectRecord& r, int index);

/// Deflection and nozzle limits (deg) when no effector sets them.
inline constexpr float kDefaultSurfaceLimit = 30.0f;
inline constexpr float kDefaultNozzleLimit = 90.0f;

/// Stores the quantities derived when a run starts: `tireCount` (at most 10),
/// the aileron, elevator and rudder limits (30, or the absolute Pitch, Pitch and
/// Yaw scale of the last effector whose driver on that axis is Aileron,
/// Elevator, Rudder) and `nozzleLimit` (90, or the absolute Pitch scale of the
/// last effector whose Pitch driver is Nozzle).
void deriveRunLimits(ObjectRecord& r);

/// Number of Tire and Skid effectors among the first `effectorCount`.
int countTires(const ObjectRecord& r);

/// Tire number of effector `index` (its order among Tire and Skid effectors), or
/// -1 when it is neither.
int tireNumberOf(const ObjectRecord& r, int index);

/// Name field as a string (up to the first NUL).
std::string recordName(const std::array<char, kNameChars>& field);
/// Stores `name` NUL-terminated, cut to 255 characters, rest of the field zero.
void setRecordName(std::array<char, kNameChars>& field, std::string_view name);

/// The editor's limit messages.
std::string tooManyEffectorsMessage();
std::string tooManyChildrenMessage(std::string_view effectorName);
std::string tooManyTiresMessage();
std::string circularReferenceMessage(std::string_view child, std::string_view parent);

/// Checks for adding one effector of `kind`; returns "" when allowed, else the message.
std::string checkCanAddEffector(const ObjectRecord& r, int kind);
/// Checks for adding one child to effector `parent`; "" when allowed.
std::string checkCanAddChild(const ObjectRecord& r, int parent);

/// Memory estimate shown by the memory settings for `objects` object slots of
/// `frames` frames each (bytes).
inline constexpr double memoryEstimate(double objects, double frames) {
    return (frames * 264.0 + 11948.0) * objects;
}

} // namespace kv::model
