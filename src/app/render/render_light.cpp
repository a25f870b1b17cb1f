#include "app/render/render_light.h"

#include "app/camera/camera_math.h"

#include <cmath>

namespace kv::app {

namespace {

struct Colour {
    float r, g, b;
    float specular; ///< grey level of the highlight; negative: the colour itself
    float shininess;
};

constexpr std::array<Colour, kMaterialCount> kColours{{
    {0.8f, 0.0f, 0.0f, 0.5f, 10},    {1.0f, 0.5f, 1.0f, 0.5f, 10},
    {0.44f, 0.22f, 0.0f, 0.5f, 10},  {0.7f, 0.3f, 0.2f, 0.2f, 1},
    {0.9f, 0.9f, 0.0f, 0.5f, 10},    {1.0f, 0.36f, 0.01f, 0.5f, 10},
    {0.8f, 0.7f, 0.6f, 0.5f, 10},    {1.0f, 0.6f, 0.0f, -1.0f, 25},
    {0.0f, 0.6f, 0.0f, 0.5f, 10},    {0.4f, 0.8f, 0.0f, 0.5f, 10},
    {0.17f, 0.36f, 0.07f, 0.5f, 10}, {0.08f, 0.92f, 0.58f, 0.5f, 10},
    {0.09f, 0.33f, 0.91f, 0.5f, 10}, {0.4f, 0.7f, 1.0f, 0.5f, 10},
    {0.5f, 0.0f, 1.0f, 0.5f, 10},    {1.0f, 0.0f, 1.0f, 0.5f, 10},
    {0.1f, 0.1f, 0.1f, 0.5f, 10},    {0.3f, 0.3f, 0.3f, 0.5f, 10},
    {0.6f, 0.6f, 0.6f, 0.5f, 10},    {1.0f, 1.0f, 1.0f, 0.5f, 10},
}};

constexpr int kGray = 18;

} // namespace

Material objectMaterial(int colourIndex, int transparency) {
    const Colour& c = kColours[static_cast<std::size_t>(
        colourIndex >= 0 && colourIndex < kMaterialCount ? colourIndex : kGray)];
    Material m;
    m.ambient = {c.r, c.g, c.b, 1.0f};
    m.diffuse = m.ambient;
    // Gold's highlight is its own colour; the others are grey.
    m.specular = c.specular < 0.0f ? std::array<float, 4>{c.r, c.g, c.b, 1.0f}
                                   : std::array<float, 4>{c.specular, c.specular, c.specular, 1.0f};
    m.shininess = c.shininess;
    const float alpha = transparency == kSmoky ? 0.5f : transparency == kClear ? 0.25f : 1.0f;
    m.ambient[3] = alpha;
    m.diffuse[3] = alpha;
    return m;
}

Material tireRubberMaterial() {
    Material m;
    m.ambient = {0.1f, 0.1f, 0.1f, 1.0f};
    m.diffuse = m.ambient;
    m.specular = {0.2f, 0.2f, 0.2f, 1.0f};
    m.shininess = 80.0f;
    return m;
}

LightRecord effectiveLight(const LightRecord& record) {
    if (record.spot)
        return record;
    LightRecord l = record;
    const LightRecord defaults;
    l.spotDirection = defaults.spotDirection;
    l.spotExponent = 0.0f;
    l.spotCutoff = 180.0f;
    l.constantAttenuation = 1.0f;
    l.linearAttenuation = 0.0f;
    l.quadraticAttenuation = 0.0f;
    return l;
}

std::array<float, 4> sunLightPosition(float angleDeg) {
    const float a = angleDeg * kRadPerDeg;
    return {0.0f, 20000.0f * std::cos(a), -20000.0f * std::sin(a), 1.0f};
}

} // namespace kv::app
