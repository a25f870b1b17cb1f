#pragma once
/// The "Appearance" dialog without its widgets: the colour and transparency
/// buttons of a colour and transparency pair, and what OK changes in the
/// simulated object.

#include "model/object_record.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kv::app {

/// Button texts by colour code 0..19.
inline constexpr std::array<const char*, model::kColorCount> kColorNames{
    "Red",    "Pink",    "Brown", "Clay",      "Yellow", "Orange", "Tan",
    "Gold",   "Green",   "Lime",  "Olive",     "Teal",   "Blue",   "Sky Blue",
    "Purple", "Magenta", "Black", "Dark Gray", "Gray",   "White"};
/// Button texts by transparency code 0..2.
inline constexpr std::array<const char*, 3> kTransparencyNames{"Solid", "Smoky", "Clear"};
inline constexpr std::string_view kTransparencyNote =
    "Note: Transparency may not work on all computers, requires thousands or millions of colors "
    "and takes more time to render.";

/// A colour code and a transparency code, as an object, a scenery set or an
/// import dialog holds them.
struct Appearance {
    std::int32_t color = model::kColorWhite;
    std::int32_t transparency = model::kSolid;
    friend bool operator==(const Appearance&, const Appearance&) = default;
};

/// The pair of an object.
Appearance appearanceOf(const model::ObjectRecord& r);

/// Stores `chosen` in `r`; true when the colour or the transparency changed
/// (the object's display must then be rebuilt).
bool applyAppearance(const Appearance& chosen, model::ObjectRecord& r);

} // namespace kv::app
