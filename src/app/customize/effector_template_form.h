#pragma once
/// The four effector template dialogs without their widgets ("Car Effector
/// Template", "Motorcycle Effector Template", "Aircraft Effector Template",
/// "Helicopter Effector Template"): a few dimensions of the built-in
/// vehicle's effectors, what each shows in the working units and what OK
/// writes back. Lengths are shown "%0.4f" in working units, angles in
/// degrees, blade counts "%0.0f".
///
/// As in the other customization dialogs, a field whose text is unchanged
/// stands for its stored value exactly; OK without edits therefore writes the
/// dimensions back as they were.

#include "app/customize/form_field.h"
#include "model/object_record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

/// How a field's number is converted.
enum class TemplateUnit {
    Length,  ///< ft stored, working length units shown
    Degrees, ///< degrees both ways
    Count,   ///< a whole number (blade count)
};

/// Landing gear of the helicopter dialog (button ids).
enum HelicopterGear : int { kGearNone = 0, kGearTires = 1, kGearSkids = 2 };

struct TemplateForm {
    std::int32_t vehicleType = model::kVehicleNone;
    std::string title;               ///< "Car Effector Template", ...
    std::string unitName;            ///< long name of the length unit, "meters"
    std::vector<std::string> labels; ///< one per field
    std::vector<TemplateUnit> units; ///< one per field
    std::vector<float> stored;       ///< the value behind each field (ft, deg or count)
    std::vector<std::string> values; ///< the text each field shows
    /// Helicopter: the landing gear the object has; -1 for the other vehicles.
    int gear = -1;
};

/// Field numbers of each dialog, in dialog order.
enum CarTemplateField : int {
    kCarFrontAxle = 0,
    kCarRearAxle,
    kCarTrack,
    kCarTireRadius,
    kCarTireWidth,
    kCarTireHeight,
    kCarSteeringLock,
    kCarSuspensionTravel,
};
enum MotorcycleTemplateField : int {
    kBikeForkPivotForward = 0,
    kBikeForkPivotUp,
    kBikeRearPivotBack,
    kBikeRearPivotDown,
    kBikeFrontTireForward,
    kBikeFrontTireDown,
    kBikeRearTireBack,
    kBikeRearTireDown,
    kBikeSteeringLock,
    kBikeForkTravel,
    kBikeFrontRadius,
    kBikeFrontWidth,
    kBikeRearRadius,
    kBikeRearWidth,
};
enum AircraftTemplateField : int {
    kPlaneNoseGearForward = 0,
    kPlaneMainGearBack,
    kPlaneMainGearTrack,
    kPlaneGearHeight,
    kPlaneWheelRadius,
    kPlaneWheelWidth,
    kPlaneStrutTravel,
    kPlaneNoseSteering,
};
enum HelicopterTemplateField : int {
    kHeliMainHubBack = 0,
    kHeliMainHubUp,
    kHeliTailHubBack,
    kHeliTailHubRight,
    kHeliTailHubUp,
    kHeliMainBlades,
    kHeliTailBlades,
    kHeliMainBladeLength,
    kHeliMainBladeChord,
    kHeliTailBladeLength,
    kHeliTailBladeChord,
    kHeliGearForward, ///< the first field of the landing gear
    kHeliGearBack,
    kHeliGearTrack,
    kHeliGearHeight,
    kHeliWheelRadius,
    kHeliWheelWidth,
    kHeliGearTravel,
    kHeliNoseSteering,
};

/// What the dialog of `r.vehicleType` shows (its fit test must hold).
TemplateForm templateFormFor(const model::ObjectRecord& r, float lengthUnitFactor);

/// OK: converts the edited texts (unchanged ones keep their stored values)
/// and writes the dimensions into `r`'s effectors; `gear` is the helicopter's
/// landing gear choice. On a refusal `r` is left as it was.
std::optional<FormRefusal> applyTemplateForm(const TemplateForm& shown,
                                             const std::vector<std::string>& edited, int gear,
                                             float lengthUnitFactor, model::ObjectRecord& r);

/// Appends one field to a form being built.
void addTemplateField(TemplateForm& form, std::string_view label, TemplateUnit unit, float stored);

// Per vehicle: the values behind the fields, and the write-back from them.
TemplateForm carTemplateForm(const model::ObjectRecord& r);
void writeCarTemplate(const std::vector<float>& v, model::ObjectRecord& r);
TemplateForm motorcycleTemplateForm(const model::ObjectRecord& r);
void writeMotorcycleTemplate(const std::vector<float>& v, model::ObjectRecord& r);
TemplateForm aircraftTemplateForm(const model::ObjectRecord& r);
void writeAircraftTemplate(const std::vector<float>& v, model::ObjectRecord& r);

} // namespace kv::app
