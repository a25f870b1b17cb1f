#include "app/document/project_state.h"

#include "common/le_io.h"
#include "model/record_codec.h"

#include <algorithm>
#include <cstring>

namespace kv::app {
namespace {

template <typename Walker, typename State> void walkCamera(Walker& w, State& c) {
    w.i32(c.mode);
    w.i32(c.cameraControl);
    w.f32(c.time);
    w.f32(c.orbitDistance);
    w.f32(c.azimuth);
    w.f32(c.elevation);
    w.f32(c.position);
    w.f32(c.roll);
    w.f32(c.pitch);
    w.f32(c.yaw);
    w.f32(c.attachedOffset);
    w.f32(c.attachedAttitude);
    w.f32(c.workingPosition);
}

template <typename Walker, typename State> void walkEnvironment(Walker& w, State& e) {
    w.i32(e.turbulenceOn);
    w.i32(e.steadyWindOn);
    w.f32(e.windSpeed);
    w.f32(e.windDirection);
    w.f32(e.turbulenceStrength);
    w.f32(e.turbulenceDuration);
    w.i32(e.forceWorldAxes);
    w.f32(e.forcePoint);
    w.f32(e.force);
    w.f32(e.moment);
}

/// Walks the block up to the scenery transforms, which go through their own codec.
template <typename Walker, typename State> void walkHead(Walker& w, State& s) {
    w.i32(s.collisionObjects);
    w.i32(s.objectCount);
    w.i32(s.observeMode);
    w.i32(s.terrainPresent);
    w.i32(s.collisionOn);
    w.i32(s.cameraFollows);
    w.i32(s.sceneryCount);
    w.i32(s.sceneryTriangles);
    w.i32(s.terrainTriangles);
    w.f32(s.sunAngle);
    w.f32(s.gravity);
    w.chars(s.projectName);
    w.chars(s.terrainName);
    for (auto& n : s.sceneryNames)
        w.chars(n);
    walkEnvironment(w, s.environment);
    for (auto& a : s.sceneryAppearance)
        w.i32(a);
}

constexpr std::size_t kTransformsOffset = 1956;
constexpr std::size_t kTerrainTransformOffset = 2176;
constexpr std::size_t kCameraOffset = 2220;

void terminate(ProjectName& n) {
    n.back() = '\0';
}

} // namespace

ProjectState newProjectState() {
    ProjectState s;
    setProjectName(s.projectName, "Project");
    return s;
}

void encodeProjectState(const ProjectState& s, std::span<std::uint8_t, kProjectStateSize> out) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    io::ByteWriter w(out);
    ProjectState copy = s;
    walkHead(w, copy);
    for (int i = 0; i < kProjectSceneryMax; ++i) {
        model::encodeTransform(s.sceneryTransforms[static_cast<std::size_t>(i)],
                               out.subspan(kTransformsOffset + static_cast<std::size_t>(i) *
                                                                   model::kGeometryTransformSize)
                                   .first<model::kGeometryTransformSize>());
    }
    model::encodeTransform(
        s.terrainTransform,
        out.subspan(kTerrainTransformOffset).first<model::kGeometryTransformSize>());
    io::ByteWriter cw(out.subspan(kCameraOffset));
    walkCamera(cw, copy.camera);
}

ProjectStateImage encodeProjectState(const ProjectState& s) {
    ProjectStateImage image{};
    encodeProjectState(s, image);
    return image;
}

void decodeProjectState(std::span<const std::uint8_t, kProjectStateSize> in, ProjectState& s) {
    io::ByteReader r(in);
    walkHead(r, s);
    for (int i = 0; i < kProjectSceneryMax; ++i) {
        model::decodeTransform(in.subspan(kTransformsOffset + static_cast<std::size_t>(i) *
                                                                  model::kGeometryTransformSize)
                                   .first<model::kGeometryTransformSize>(),
                               s.sceneryTransforms[static_cast<std::size_t>(i)]);
    }
    model::decodeTransform(
        in.subspan(kTerrainTransformOffset).first<model::kGeometryTransformSize>(),
        s.terrainTransform);
    io::ByteReader cr(in.subspan(kCameraOffset));
    walkCamera(cr, s.camera);
    terminate(s.projectName);
    terminate(s.terrainName);
    for (auto& n : s.sceneryNames)
        terminate(n);
}

void setProjectName(ProjectName& field, const std::string& text) {
    field.fill('\0');
    const std::size_t n = std::min(text.size(), field.size() - 1);
    std::memcpy(field.data(), text.data(), n);
}

std::string projectNameText(const ProjectName& field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return std::string(field.begin(), end);
}

} // namespace kv::app
