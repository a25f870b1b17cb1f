#include "geometry/face_split.h"

#include "common/vecmath.h"

namespace kv::geom {
namespace {

bool cornersEqual(const Corner<float>& a, const Corner<float>& b) {
    return CompareTol(a[0], b[0]) == 0 && CompareTol(a[1], b[1]) == 0 &&
           CompareTol(a[2], b[2]) == 0;
}

bool cornersEqual(const Corner<double>& a, const Corner<double>& b) {
    return CompareTolD(a[0], b[0]) == 0 && CompareTolD(a[1], b[1]) == 0 &&
           CompareTolD(a[2], b[2]) == 0;
}

template <typename T>
int split(const std::array<Corner<T>, 4>& c, std::array<Triangle<T>, 2>& out) {
    bool same[4][4] = {};
    int distinctPairs = 0;
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j) {
            same[i][j] = same[j][i] = cornersEqual(c[i], c[j]);
            if (!same[i][j]) ++distinctPairs;
        }
    }
    const int wanted = distinctPairs == 6 ? 2 : (distinctPairs == 5 ? 1 : 0);
    static constexpr int kCandidates[4][3] = {{0, 1, 2}, {0, 2, 3}, {0, 1, 3}, {1, 2, 3}};
    int made = 0;
    for (const auto& k : kCandidates) {
        if (made == wanted) break;
        if (same[k[0]][k[1]] || same[k[0]][k[2]] || same[k[1]][k[2]]) continue;
        out[static_cast<std::size_t>(made++)] = {c[k[0]], c[k[1]], c[k[2]]};
    }
    return made;
}

} // namespace

int splitFace(const std::array<Corner<float>, 4>& c, std::array<Triangle<float>, 2>& out) {
    return split(c, out);
}

int splitFace(const std::array<Corner<double>, 4>& c, std::array<Triangle<double>, 2>& out) {
    return split(c, out);
}

} // namespace kv::geom
