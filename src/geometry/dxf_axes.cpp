#include "geometry/dxf_axes.h"

namespace kv::geom {

namespace {

using Mat = std::array<double, 9>;

constexpr Mat kRightHand{1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
/// (x, y, z) -> (z, x, -y).
constexpr Mat kLeftHand{0.0, 0.0, 1.0, 1.0, 0.0, 0.0, 0.0, -1.0, 0.0};
/// (x, y, z) -> (-y, -x, -z).
constexpr Mat kZUp{0.0, -1.0, 0.0, -1.0, 0.0, 0.0, 0.0, 0.0, -1.0};

struct AxesNames {
    DxfAxes axes;
    std::string_view name;
    std::string_view word;
};

constexpr AxesNames kNames[] = {
    {DxfAxes::RightHand, "Right Hand", "right"},
    {DxfAxes::LeftHand, "Left Hand", "left"},
    {DxfAxes::ZUp, "Z Up", "zup"},
};

constexpr std::string_view kCommentTail = " Coordinate System in ";

} // namespace

std::array<double, 9> dxfAxesToSystem(DxfAxes axes) {
    switch (axes) {
    case DxfAxes::LeftHand:
        return kLeftHand;
    case DxfAxes::ZUp:
        return kZUp;
    case DxfAxes::RightHand:
        break;
    }
    return kRightHand;
}

std::array<double, 3> fileToSystem(DxfAxes axes, const std::array<double, 3>& p) {
    const Mat m = dxfAxesToSystem(axes);
    // The full products, so that the zero terms round exactly as written.
    return {m[0] * p[0] + m[1] * p[1] + m[2] * p[2], m[3] * p[0] + m[4] * p[1] + m[5] * p[2],
            m[6] * p[0] + m[7] * p[1] + m[8] * p[2]};
}

std::array<double, 3> systemToFile(DxfAxes axes, const std::array<double, 3>& p) {
    const Mat m = dxfAxesToSystem(axes);
    return {m[0] * p[0] + m[3] * p[1] + m[6] * p[2], m[1] * p[0] + m[4] * p[1] + m[7] * p[2],
            m[2] * p[0] + m[5] * p[1] + m[8] * p[2]};
}

std::string_view dxfAxesName(DxfAxes axes) {
    for (const AxesNames& n : kNames) {
        if (n.axes == axes)
            return n.name;
    }
    return kNames[0].name;
}

std::string_view dxfAxesWord(DxfAxes axes) {
    for (const AxesNames& n : kNames) {
        if (n.axes == axes)
            return n.word;
    }
    return kNames[0].word;
}

std::optional<DxfAxes> dxfAxesFromWord(std::string_view word) {
    for (const AxesNames& n : kNames) {
        if (n.word == word)
            return n.axes;
    }
    return std::nullopt;
}

std::optional<DxfAxes> dxfAxesFromComment(std::string_view line) {
    for (const AxesNames& n : kNames) {
        if (line.size() > n.name.size() && line.substr(0, n.name.size()) == n.name &&
            line.substr(n.name.size(), kCommentTail.size()) == kCommentTail) {
            return n.axes;
        }
    }
    return std::nullopt;
}

} // namespace kv::geom
