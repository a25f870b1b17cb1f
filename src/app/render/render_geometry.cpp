#include "app/render/render_geometry.h"

#include "app/camera/camera_math.h"

#include <cmath>

namespace kv::app {

std::vector<float> gridLinePositions(float spacing, float size) {
    std::vector<float> out;
    if (!(spacing > 0.0f) || !std::isfinite(size) || size < 0.0f)
        return out;
    if (2.0 * static_cast<double>(size) / spacing + 1.0 > kMaxGridLines)
        return out;
    for (float a = -size; a <= size; a += spacing)
        out.push_back(a);
    return out;
}

Vec3 gridCentre(const Vec3& p, float d) {
    if (!(d > 0.0f))
        return Vec3{};
    return Vec3{std::floor(p[0] / d) * d, std::floor(p[1] / d) * d, 0.0f};
}

std::vector<int> terrainStrideIndices(int n, int stride) {
    if (stride < 1)
        stride = 1;
    std::vector<int> out;
    for (int i = 0; i < n; i += stride)
        out.push_back(i);
    return out;
}

double terrainProgressFirstPass(int i, int j, int nx, int ny) {
    const double total = 2.0 * nx * static_cast<double>(ny);
    return total > 0.0 ? (static_cast<double>(i) * ny + j) / total : 1.0;
}

double terrainProgressSecondPass(int i, int j, int nx, int ny) {
    const double total = 2.0 * nx * static_cast<double>(ny);
    return total > 0.0 ? (i + (static_cast<double>(j) + ny) * nx) / total : 1.0;
}

namespace {

/// The eye looks down -z; x right, y up.
constexpr float kGuidePlane = -0.505f;

Vec3 at(float x, float y) {
    return Vec3{x, y, kGuidePlane};
}

std::vector<Segment> rectangle(float w, float h) {
    return {{at(-w, -h), at(w, -h)},
            {at(w, -h), at(w, h)},
            {at(w, h), at(-w, h)},
            {at(-w, h), at(-w, -h)}};
}

} // namespace

ViewGuides viewGuides(float fov, float aspect) {
    const float w = 0.505f * std::tan(fov * 0.5f * kRadPerDeg);
    const float h = aspect > 0.0f ? w / aspect : w;
    ViewGuides g;
    g.actionSafe = rectangle(0.9f * w, 0.9f * h);
    g.titleSafe = rectangle(0.8f * w, 0.8f * h);
    g.crossLine = {{at(-0.25f * w, 0.0f), at(0.25f * w, 0.0f)},
                   {at(0.0f, -0.25f * h), at(0.0f, 0.25f * h)}};
    g.hatchLine = {{at(w, h), at(-w, -h)}, {at(-w, h), at(w, -h)}};
    return g;
}

} // namespace kv::app
