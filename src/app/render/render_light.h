#pragma once
/// Materials, light 0 and the sun that moves it.

#include <array>

namespace kv::app {

/// Ambient RGBA, diffuse RGBA, specular RGBA, shininess, emission RGBA.
struct Material {
    std::array<float, 4> ambient{};
    std::array<float, 4> diffuse{};
    std::array<float, 4> specular{};
    float shininess = 0.0f;
    std::array<float, 4> emission{0, 0, 0, 1};
};

inline constexpr int kMaterialCount = 20;
enum Transparency : int { kSolid = 0, kSmoky = 1, kClear = 2 };

/// Material of colour index 0-19 (out-of-range indices take Gray) with the
/// transparency mode's alpha on ambient and diffuse.
Material objectMaterial(int colourIndex, int transparency);
Material tireRubberMaterial();
/// Colour the camera view draws the terrain in (RGBA, unlit).
inline constexpr std::array<float, 4> kTerrainColour{0.0f, 0.6f, 0.0f, 1.0f};

/// A light record as loaded into an OpenGL light.
struct LightRecord {
    bool spot = false;
    std::array<float, 4> ambient{0.1f, 0.1f, 0.1f, 1.0f};
    std::array<float, 4> diffuse{0.8f, 0.7f, 0.56f, 1.0f};
    std::array<float, 4> specular{0.8f, 0.7f, 0.56f, 1.0f};
    std::array<float, 4> position{0.0f, 0.0f, -100.0f, 1.0f};
    std::array<float, 3> spotDirection{0.0f, 0.0f, -1.0f};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
};

/// The values a light takes when a record is loaded: without the spot flag the
/// spot direction, exponent, cutoff and attenuations are the defaults.
LightRecord effectiveLight(const LightRecord& record);

/// Sun angle at start (deg).
inline constexpr float kSunStartAngle = 100.0f;
/// Light 0's position for a sun angle (deg): (0, 20000 cos, -20000 sin, 1).
std::array<float, 4> sunLightPosition(float angleDeg);

} // namespace kv::app
