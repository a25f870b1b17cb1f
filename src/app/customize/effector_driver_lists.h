#pragma once
/// The six driver lists of the Effectors dialog: which driver codes each
/// degree of freedom offers, in list order, and their item texts.

#include <span>
#include <string_view>

namespace kv::app {

/// One list item: the text shown and the base driver code it selects.
struct DriverChoice {
    std::string_view text;
    int code;
};

/// The items of the list of degree of freedom `dof` (model::Dof order:
/// Forward, Right, Down, Roll, Pitch, Yaw).
std::span<const DriverChoice> driverChoices(int dof);

/// List position of `code` in the list of `dof`, or -1 when the list has no
/// item for it (numbered codes must be reduced to their base first).
int driverListPosition(int dof, int code);

/// Driver code of list position `position` of `dof`; 0 ("None") outside the list.
int driverCodeAt(int dof, int position);

/// The base code a numbered code shows as: 21..30 -> 21, 31..40 -> 31,
/// 41..50 -> 41; other codes unchanged.
int reducedDriverCode(int code);

} // namespace kv::app
