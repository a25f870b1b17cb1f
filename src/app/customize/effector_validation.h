#pragma once
/// The structural rules the Effectors dialog checks on OK, and the driver
/// renumbering it does when they hold.
///
/// Tires are the effectors of kind Tire or Skid, numbered 0, 1, ... in index
/// order. A strut is an effector whose Down driver is Strut Compression, a
/// pivot one whose Pitch driver is Pivot.
///
/// Pass 1 zeroes every Sound effector (keeping only its Roll driver: the
/// tachometer when it has no parent, its parent tire's skid indicator under a
/// tire, else none) and checks where each tire hangs. Pass 2 gives each pivot,
/// strut and Tire Roll driver the number of the one tire it follows. The first
/// broken rule ends the check.

#include "model/object_record.h"

#include <optional>
#include <string>

namespace kv::app {

/// Runs both passes on `r`'s effectors, changing them as described above.
/// Returns the message of the first broken rule, or nothing when all hold.
std::optional<std::string> validateEffectors(model::ObjectRecord& r);

/// Reduces the numbered codes 21..30, 31..40 and 41..50 of every effector to
/// 21, 31 and 41, so that they show as their list item.
void reduceDriverCodes(model::ObjectRecord& r);

/// "tire" or "skid" for a Tire or Skid effector.
const char* tireKindWord(int kind);

} // namespace kv::app
