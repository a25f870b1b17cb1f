#pragma once
/// The four built-in vehicles (Car, Motorcycle, Aircraft, Helicopter): constant
/// header values and effector trees written into an object record.

#include "model/object_record.h"

namespace kv::model {

/// Fills `r` from the built-in template of `r.vehicleType`, in this order: the
/// effector list (count and rows), the tire block, the aerodynamic block, the
/// mass block, the engine fields, the collision fields, the appearance, the
/// default geometry transform and last the name. Fields a template does not
/// own are kept: role, initial conditions, `tireCount`, the run-derived limits,
/// tire array entries beyond the template's tires, effector slots beyond its
/// count and child slots beyond each row's child count. For a vehicle type
/// outside 0..3 only the geometry transform is written.
void applyTemplate(ObjectRecord& r);

} // namespace kv::model
