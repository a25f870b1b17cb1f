#pragma once
/// The document's state block (2304 bytes), stored byte for byte at the head of
/// a project file: counts, flags, names, the environment, the appearance and
/// import transforms of scenery and terrain, and the camera.

#include "common/unit_constants.h"
#include "model/object_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kv::app {

inline constexpr std::size_t kProjectStateSize = 2304;
inline constexpr int kProjectSceneryMax = 5;
inline constexpr int kProjectNameChars = 256;

/// Wind, turbulence and the external force of a project (64 bytes).
struct ProjectEnvironment {
    std::int32_t turbulenceOn = 0;
    std::int32_t steadyWindOn = 0;
    float windSpeed = 0.0f;            ///< ft/s
    float windDirection = 0.0f;        ///< deg
    float turbulenceStrength = 1.0f;   ///< factor
    float turbulenceDuration = 1.0f;   ///< factor
    std::int32_t forceWorldAxes = 1;   ///< 1 world frame, 0 body frame
    std::array<float, 3> forcePoint{}; ///< point of application (ft, body axes)
    std::array<float, 3> force{};      ///< lbf
    std::array<float, 3> moment{};     ///< lbf ft
};

/// The camera as a project keeps it (84 bytes).
struct ProjectCamera {
    std::int32_t mode = 7;
    std::int32_t cameraControl = 0;
    float time = 0.0f;                       ///< s
    float orbitDistance = 0.0f;              ///< ft
    float azimuth = 340.0f;                  ///< deg
    float elevation = -7.0f;                 ///< deg
    std::array<float, 3> position{};         ///< m
    float roll = 0.0f;                       ///< deg
    float pitch = 0.0f;                      ///< deg
    float yaw = 160.0f;                      ///< deg; the azimuth minus 180
    std::array<float, 3> attachedOffset{};   ///< ft
    std::array<float, 3> attachedAttitude{}; ///< deg
    std::array<float, 3> workingPosition{};  ///< m
};

using ProjectName = std::array<char, kProjectNameChars>;

/// Field order is the stored order; the defaults are those of a new project.
struct ProjectState {
    std::int32_t collisionObjects = 1; ///< objects of role 0 or 2, the simulated one included
    std::int32_t objectCount = 1;      ///< slots in use
    std::int32_t observeMode = 0;
    std::int32_t terrainPresent = 0;
    std::int32_t collisionOn = 0;   ///< set at Begin by the last run
    std::int32_t cameraFollows = 0; ///< object index the camera follows
    std::int32_t sceneryCount = 0;  ///< 0..5
    std::array<std::int32_t, kProjectSceneryMax> sceneryTriangles{};
    std::int32_t terrainTriangles = 0;
    float sunAngle = 100.0f;          ///< deg
    float gravity = kStandardGravity; ///< ft/s^2
    ProjectName projectName{};
    ProjectName terrainName{};
    std::array<ProjectName, kProjectSceneryMax> sceneryNames{};
    ProjectEnvironment environment;
    /// Colour and transparency code of each scenery set.
    std::array<std::array<std::int32_t, 2>, kProjectSceneryMax> sceneryAppearance{};
    std::array<model::GeometryTransform, kProjectSceneryMax> sceneryTransforms{};
    model::GeometryTransform terrainTransform{};
    ProjectCamera camera;
};

using ProjectStateImage = std::array<std::uint8_t, kProjectStateSize>;

/// The state of a new project ("Project", gravity 32.17, sun 100, camera 7).
ProjectState newProjectState();

void encodeProjectState(const ProjectState& s, std::span<std::uint8_t, kProjectStateSize> out);
ProjectStateImage encodeProjectState(const ProjectState& s);
/// Decodes a stored block; every name is forced to end in a NUL.
void decodeProjectState(std::span<const std::uint8_t, kProjectStateSize> in, ProjectState& s);

/// Copies `text` into a name field, cut to fit with its NUL.
void setProjectName(ProjectName& field, const std::string& text);
std::string projectNameText(const ProjectName& field);

} // namespace kv::app
