#pragma once
/// The options of `kestrovane-cli simulate`, parsed from its arguments.

#include "geometry/dxf_axes.h"
#include "model/object_record.h"
#include "simulation/run_settings.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kv::cli {

struct SimulateOptions {
    std::optional<std::int32_t> vehicle; ///< --vehicle: a built-in vehicle type
    std::string object;                  ///< --object FILE.kvo
    std::string project;                 ///< --project FILE.kvp
    std::string terrain;                 ///< --terrain FILE.dxf
    std::string controls;                ///< --controls FILE.csv
    std::string replay;                  ///< --replay FILE.kvm
    std::string follow;                  ///< --follow PATH.csv|PATH.dxf
    /// --axes: the axes of the DXF terrain and path; none: as the files name them.
    std::optional<geom::DxfAxes> axes;
    std::optional<double> speed;    ///< --speed: cruise speed in the working speed unit
    std::optional<float> units;     ///< --units: feet per working length unit
    std::optional<double> duration; ///< --duration (s)
    std::optional<int> fps;         ///< --fps (frames/s)
    std::optional<sim::Accuracy> accuracy;
    /// --initial: north, east, down (ft), roll, pitch, yaw (deg), roll, pitch,
    /// yaw rates (deg/s), forward, right, down velocity (ft/s).
    std::optional<std::array<float, 12>> initial;
    std::optional<std::array<float, 2>> wind; ///< --wind: speed (ft/s), from (deg)
    bool turbulence = false;
    bool trim = false;            ///< --trim: start an aircraft or helicopter in the air trimmed
    std::optional<float> gravity; ///< --gravity (ft/s^2)
    std::string output;           ///< -o OUT.kvm
    std::string cameraOutput;     ///< --camera-out CAM.kvm
    std::string gltfOutput;       ///< --gltf OUT.glb: the scene of the run
};

/// Longest --duration accepted (s): a day of simulated time.
inline constexpr double kMaxDuration = 86400.0;
/// Highest --fps accepted (frames/s).
inline constexpr int kMaxFps = 1000;

/// Parses the words after "simulate". Returns an error text for bad usage;
/// `help` is set when --help was asked for.
std::optional<std::string> parseSimulateOptions(const std::vector<std::string>& args,
                                                SimulateOptions& options, bool& help);

} // namespace kv::cli
