#pragma once
/// Whether an object's effectors still have the shape of its vehicle type's
/// built-in template, so that the template's dimension dialog can edit them.
/// Every test asks for at least the template's effectors with the template's
/// kinds and parents; effectors added after them do not matter. Equalities
/// use the tolerant comparison (0.1 per cent).

#include "model/object_record.h"

namespace kv::app {

bool carFitsTemplate(const model::ObjectRecord& r);
bool motorcycleFitsTemplate(const model::ObjectRecord& r);
bool aircraftFitsTemplate(const model::ObjectRecord& r);
/// Hubs 0 and 1 as the template has them, at least two blades under each,
/// every blade of a hub alike, and either no landing gear or three root
/// tires (or three root skids) arranged as the aircraft's: a nose wheel and
/// two main wheels side by side, all of one size, height and travel.
bool helicopterFitsTemplate(const model::ObjectRecord& r);

/// The test of `r.vehicleType`; false for a type without a template.
bool effectorsFitTemplate(const model::ObjectRecord& r);

} // namespace kv::app
