#pragma once
/// The "Tires and Suspension" dialog without its widgets: what it shows for
/// the simulated object (braking, road surface, skid, tire type and each
/// tire's drive, brake, spring and bounce), the tire selection, "Apply", and
/// what OK writes back to the tire block.

#include "app/customize/form_field.h"
#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::app {

/// The command's refusal for an object without Tire or Skid effectors.
inline constexpr std::string_view kNoTiresMessage = "The object does not have any tires.";
/// Text of the button that copies the shown spring and bounce to every tire.
inline constexpr std::string_view kApplyToAllTiresText = "Apply Spring and Bounce to all tires?";

/// A tire-type button and the `tireType` code it stands for.
struct TireTypeChoice {
    const char* label;
    std::int32_t code;
};
/// Tire types in the order of their buttons.
inline constexpr std::array<TireTypeChoice, 3> kTireTypes{
    {{"Bias Ply", 2}, {"Radial", 1}, {"Sport", 3}}};

/// Slider ranges (percent).
inline constexpr int kBrakingPercentMax = 200;
inline constexpr int kSurfacePercentMin = 1;
inline constexpr int kSurfacePercentMax = 100;
inline constexpr int kSuspensionPercentMax = 100;

/// One tire as the dialog holds it.
struct TireSettingsForm {
    bool drive = false;
    bool brake = false;
    std::string spring; ///< "Spring Strength (%)", stored spring x 100
    std::string bounce; ///< "Bounce (%)", (1 - stored damping) x 100
};

/// The settings shared by all tires.
struct TiresSharedForm {
    std::string braking;       ///< "Braking (%)", stored braking x 100
    std::string surface;       ///< "Surface (%)", stored half-percent x 0.5
    std::int32_t skid = 0;     ///< 1 "Skid", 0 "No Skid"
    std::int32_t tireType = 0; ///< a kTireTypes code; another stored code has no button
};

/// Field numbers of a refusal.
enum TiresField : int { kTiresBraking = 0, kTiresSurface, kTiresSpring, kTiresBounce };

/// With "No Skid" the surface pair and the tire-type buttons are disabled.
bool gripControlsEnabled(std::int32_t skid);

class TiresModel {
  public:
    /// The dialog for `r`, its first tire shown. `r` must have a Tire or Skid
    /// effector (model::countTires); at most the first 10 are listed.
    explicit TiresModel(const model::ObjectRecord& r);

    /// What the dialog opens with.
    const TiresSharedForm& openedShared() const { return openedShared_; }
    /// "Selected Tire": effector names of the tires, list position = tire number.
    const std::vector<std::string>& tireNames() const { return names_; }
    int tireCount() const { return static_cast<int>(names_.size()); }
    int selectedTire() const { return selected_; }
    /// The settings of tire `tire` as the dialog holds them now.
    const TireSettingsForm& tire(int tire) const {
        return tires_.at(static_cast<std::size_t>(tire));
    }

    /// Choosing another tire: keeps `showing` (what the controls show now) as the
    /// selected tire's settings and returns the settings of `tire` to show.
    const TireSettingsForm& select(int tire, const TireSettingsForm& showing);
    /// "Apply": the shown spring and bounce become every tire's.
    void applyToAll(const TireSettingsForm& showing);

    /// OK with the shared settings and the shown tire's controls: writes
    /// `skid`, `tireType`, `surface` (x 2 truncated, at least 1), `braking`
    /// (x 0.01, 0..2) and each tire's drive, brake, spring (x 0.01) and
    /// damping (1 - bounce x 0.01), both 0..1. A field with a number that is
    /// not one refuses and leaves `block` unchanged.
    std::optional<FormRefusal> accept(const TiresSharedForm& shared,
                                      const TireSettingsForm& showing,
                                      model::TireSuspension& block) const;

  private:
    model::TireSuspension stored_;
    TiresSharedForm openedShared_;
    std::vector<std::string> names_;
    std::vector<TireSettingsForm> opened_; ///< each tire as it opened
    std::vector<TireSettingsForm> tires_;  ///< each tire as the dialog holds it
    int selected_ = 0;
};

} // namespace kv::app
