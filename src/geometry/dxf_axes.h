#pragma once
/// The three coordinate systems a DXF file may be written in, and how a point
/// of each maps to the system's own axes (forward = north, right = east, down).
///
/// - Right hand: the system's own axes, as stored.
/// - Left hand: LightWave's y-up layout; a file point (x, y, z) is
///   (forward z, right x, down -y).
/// - Z up: the axes of Blender, CAD and GIS files, chosen to agree with our
///   glTF export as Blender imports it (x = -east, y = -north, z = up): a file
///   point (x, y, z) is (forward -y, right -x, down -z). A terrain drawn in
///   Blender and a take driven on it then line up when both go back.
///
/// Each mapping is a proper rotation, so its inverse is its transpose.

#include <array>
#include <optional>
#include <string_view>

namespace kv::geom {

enum class DxfAxes { RightHand = 0, LeftHand = 1, ZUp = 2 };

/// The systems in the order dialogs offer them.
inline constexpr DxfAxes kDxfAxesChoices[] = {DxfAxes::RightHand, DxfAxes::LeftHand,
                                              DxfAxes::ZUp};

/// Row-major 3x3 taking a file point to forward, right, down.
std::array<double, 9> dxfAxesToSystem(DxfAxes axes);

/// File point (any length unit) to forward, right, down in the same unit.
std::array<double, 3> fileToSystem(DxfAxes axes, const std::array<double, 3>& p);

/// Forward, right, down to the file point of `axes` (the inverse of `fileToSystem`).
std::array<double, 3> systemToFile(DxfAxes axes, const std::array<double, 3>& p);

/// The name written in our DXF header comment and shown in dialogs:
/// "Right Hand", "Left Hand", "Z Up".
std::string_view dxfAxesName(DxfAxes axes);

/// The command-line word of `axes`: "right", "left", "zup".
std::string_view dxfAxesWord(DxfAxes axes);

/// The axes named by a command-line word ("right", "left", "zup"); none for any other.
std::optional<DxfAxes> dxfAxesFromWord(std::string_view word);

/// The axes of one of our header comment lines ("Z Up Coordinate System in
/// Meters"); none for a line that is not such a comment.
std::optional<DxfAxes> dxfAxesFromComment(std::string_view line);

} // namespace kv::geom
