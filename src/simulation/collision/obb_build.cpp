#include "simulation/collision/obb_build.h"

#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <ostream>
#include <utility>

namespace kv::sim::collision {
namespace {

/// Sum of the moments of a group of triangles.
struct MomentSum {
    float area = 0.0f; ///< total area
    Vec3 w{};          ///< area-weighted sum of the means
    Mat3 s{};          ///< sum of the second moments

    void add(const Moment& m) {
        area += m.area;
        for (int i = 0; i < 3; ++i)
            w[i] += m.area * m.mean[i];
        for (int i = 0; i < 9; ++i)
            s[i] += m.second[i];
    }

    /// The group's mean point and the orientation of its covariance.
    void frame(Vec3& mean, Mat3& orientation) const {
        for (int i = 0; i < 3; ++i)
            mean[i] = w[i] / area;
        Mat3 cov{};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                cov[i * 3 + j] = s[i * 3 + j] - w[i] * w[j] / area;
        }
        Vec3 values{};
        symmetricEigen(cov, orientation, values);
    }
};

Vec3 column(const Mat3& m, int j) {
    return {m[j], m[3 + j], m[6 + j]};
}

/// Sets the box's centre and half-dimensions from its ranges along its own axes.
void setExtent(Box& box, const Vec3& lo, const Vec3& hi) {
    Vec3 mid{};
    for (int i = 0; i < 3; ++i) {
        mid[i] = (lo[i] + hi[i]) * 0.5f;
        box.d[i] = (hi[i] - lo[i]) * 0.5f;
    }
    MatVec3(box.pR, mid, box.pT);
}

void growRanges(const Mat3& r, const Vec3& p, Vec3& lo, Vec3& hi) {
    for (int a = 0; a < 3; ++a) {
        const float v = p[0] * r[a] + p[1] * r[3 + a] + p[2] * r[6 + a];
        lo[a] = MinOf(v, lo[a]);
        hi[a] = MaxOf(v, hi[a]);
    }
}

constexpr float kHuge = std::numeric_limits<float>::max();

/// Largest |cos| between a leaf's first and third axes that is taken as square.
constexpr float kSquareness = 1e-6f;

/// Makes `z` a unit vector square to the unit vector `x`: `z` less its part
/// along `x` (twice, as rounding leaves some), or a coordinate axis crossed
/// with `x` when nothing is left of it.
void squareTo(const Vec3& x, Vec3& z) {
    for (int pass = 0; pass < 2; ++pass) {
        const float along = VecDot(z, x);
        for (int i = 0; i < 3; ++i)
            z[i] -= along * x[i];
        VecNormalize(z, z);
    }
    if (z[0] == 0.0f && z[1] == 0.0f && z[2] == 0.0f) {
        int least = 0;
        for (int i = 1; i < 3; ++i) {
            if (std::fabs(x[i]) < std::fabs(x[least]))
                least = i;
        }
        Vec3 helper{};
        helper[least] = 1.0f;
        Vec3 c{};
        VecCross(x, helper, c);
        VecNormalize(c, z);
    }
}

/// A leaf's box: first axis along the longest edge, third along the normal.
void fitLeaf(Box& box, const Tri& t) {
    Vec3 e1{};
    Vec3 e2{};
    Vec3 e3{};
    VecSub(t.p1, t.p2, e1);
    VecSub(t.p2, t.p3, e2);
    VecSub(t.p3, t.p1, e3);
    const Vec3* longest = &e1;
    float longestSq = VecDot(e1, e1);
    if (VecDot(e2, e2) > longestSq) {
        longest = &e2;
        longestSq = VecDot(e2, e2);
    }
    if (VecDot(e3, e3) > longestSq)
        longest = &e3;
    Vec3 x{};
    VecNormalize(*longest, x);
    Vec3 n{};
    VecCross(e1, e2, n);
    Vec3 z{};
    VecNormalize(n, z);
    if (x[0] == 0.0f && x[1] == 0.0f && x[2] == 0.0f) {
        // All corners coincide: any orthonormal frame fits the point.
        x = {1.0f, 0.0f, 0.0f};
        z = {0.0f, 0.0f, 1.0f};
    } else if (std::fabs(VecDot(z, x)) > kSquareness ||
               (z[0] == 0.0f && z[1] == 0.0f && z[2] == 0.0f)) {
        // Collinear corners: the cross product is zero or rounding noise in
        // any direction. The overlap test needs orthonormal axes, so take the
        // normal square to the edge instead.
        squareTo(x, z);
    }
    Vec3 y{};
    VecCross(z, x, y);
    box.pR = {x[0], y[0], z[0], x[1], y[1], z[1], x[2], y[2], z[2]};
    Vec3 lo = {kHuge, kHuge, kHuge};
    Vec3 hi = {-kHuge, -kHuge, -kHuge};
    growRanges(box.pR, t.p1, lo, hi);
    growRanges(box.pR, t.p2, lo, hi);
    growRanges(box.pR, t.p3, lo, hi);
    setExtent(box, lo, hi);
    box.P = nullptr;
    box.N = nullptr;
    box.trp = &t;
}

/// Recursive construction over one model's triangles and moments.
class Builder {
  public:
    Builder(const Tri* tris, const Moment* moments, Box* boxes)
        : tris_(tris), moments_(moments), next_(boxes + 1) {}

    /// Fits `box` (orientation set, in model coordinates) around the triangles
    /// t[0..k-1] whose mean point is `mean`, then builds its children.
    void split(Box& box, int* t, int k, const Vec3& mean) {
        if (k == 1) {
            fitLeaf(box, tris_[t[0]]);
            return;
        }
        const Vec3 axis = column(box.pR, 0);
        const float splitValue = VecDot(axis, mean);
        Vec3 lo = {kHuge, kHuge, kHuge};
        Vec3 hi = {-kHuge, -kHuge, -kHuge};
        MomentSum first;
        MomentSum second;
        int firstCount = 0;
        for (int i = 0; i < k; ++i) {
            const Tri& tri = tris_[t[i]];
            growRanges(box.pR, tri.p1, lo, hi);
            growRanges(box.pR, tri.p2, lo, hi);
            growRanges(box.pR, tri.p3, lo, hi);
            const Moment& m = moments_[t[i]];
            if (VecDot(axis, m.mean) <= splitValue) {
                std::swap(t[i], t[firstCount++]);
                first.add(m);
            } else {
                second.add(m);
            }
        }
        if (firstCount == 0 || firstCount == k) {
            firstCount = k / 2;
            first = MomentSum{};
            second = MomentSum{};
            for (int i = 0; i < firstCount; ++i)
                first.add(moments_[t[i]]);
            for (int i = firstCount; i < k; ++i)
                second.add(moments_[t[i]]);
        }
        setExtent(box, lo, hi);
        box.trp = nullptr;
        box.P = next_++;
        box.N = next_++;
        buildChild(box, *box.P, t, firstCount, first);
        buildChild(box, *box.N, t + firstCount, k - firstCount, second);
    }

  private:
    void buildChild(const Box& parent, Box& child, int* t, int k, const MomentSum& sum) {
        Vec3 mean{};
        if (k > 1)
            sum.frame(mean, child.pR);
        split(child, t, k, mean);
        // Express the child in its parent's frame.
        Mat3 parentT{};
        Transpose3(parent.pR, parentT);
        Mat3 r{};
        MatMul3(parentT, child.pR, r);
        child.pR = r;
        Vec3 offset{};
        VecSub(child.pT, parent.pT, offset);
        MatVec3(parentT, offset, child.pT);
    }

    const Tri* tris_;
    const Moment* moments_;
    Box* next_;
};

} // namespace

Moment triangleMoment(const Vec3& p1, const Vec3& p2, const Vec3& p3) {
    Moment m;
    Vec3 u{};
    Vec3 v{};
    Vec3 c{};
    VecSub(p2, p1, u);
    VecSub(p3, p1, v);
    VecCross(u, v, c);
    m.area = 0.5f * VecLength(c);
    for (int i = 0; i < 3; ++i)
        m.mean[i] = (p1[i] + p2[i] + p3[i]) * 0.33333334f;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const float corners = p1[i] * p1[j] + p2[i] * p2[j] + p3[i] * p3[j];
            m.second[i * 3 + j] =
                m.area != 0.0f ? m.area * (9.0f * m.mean[i] * m.mean[j] + corners) * 0.083333336f
                               : corners;
        }
    }
    return m;
}

void symmetricEigen(const Mat3& input, Mat3& vectors, Vec3& values) {
    float a[3][3];
    float v[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    float b[3];
    float d[3];
    float z[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            a[i][j] = input[i * 3 + j];
        b[i] = d[i] = a[i][i];
    }
    auto rotate = [](float m[3][3], int i, int j, int k, int l, float s, float tau) {
        const float g = m[i][j];
        const float h = m[k][l];
        m[i][j] = g - s * (h + g * tau);
        m[k][l] = h + s * (g - h * tau);
    };
    for (int sweep = 1; sweep <= 50; ++sweep) {
        const float offDiagonal = std::fabs(a[0][1]) + std::fabs(a[0][2]) + std::fabs(a[1][2]);
        if (offDiagonal == 0.0f)
            break;
        const float threshold = sweep < 4 ? 0.2f * offDiagonal / 9.0f : 0.0f;
        for (int p = 0; p < 2; ++p) {
            for (int q = p + 1; q < 3; ++q) {
                const float g = 100.0f * std::fabs(a[p][q]);
                if (sweep > 4 && std::fabs(d[p]) + g == std::fabs(d[p]) &&
                    std::fabs(d[q]) + g == std::fabs(d[q])) {
                    a[p][q] = 0.0f;
                } else if (std::fabs(a[p][q]) > threshold) {
                    float h = d[q] - d[p];
                    float t;
                    if (std::fabs(h) + g == std::fabs(h)) {
                        t = a[p][q] / h;
                    } else {
                        const float theta = 0.5f * h / a[p][q];
                        t = 1.0f / (std::fabs(theta) + std::sqrt(1.0f + theta * theta));
                        if (theta < 0.0f)
                            t = -t;
                    }
                    const float c = 1.0f / std::sqrt(1.0f + t * t);
                    const float s = t * c;
                    const float tau = s / (1.0f + c);
                    h = t * a[p][q];
                    z[p] -= h;
                    z[q] += h;
                    d[p] -= h;
                    d[q] += h;
                    a[p][q] = 0.0f;
                    for (int j = 0; j < p; ++j)
                        rotate(a, j, p, j, q, s, tau);
                    for (int j = p + 1; j < q; ++j)
                        rotate(a, p, j, j, q, s, tau);
                    for (int j = q + 1; j < 3; ++j)
                        rotate(a, p, j, q, j, s, tau);
                    for (int j = 0; j < 3; ++j)
                        rotate(v, j, p, j, q, s, tau);
                }
            }
        }
        for (int i = 0; i < 3; ++i) {
            b[i] += z[i];
            d[i] = b[i];
            z[i] = 0.0f;
        }
    }
    // Descending eigenvalues; ties keep the lower column first.
    int order[3] = {0, 1, 2};
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            if (d[order[j]] > d[order[i]])
                std::swap(order[i], order[j]);
        }
    }
    for (int c = 0; c < 3; ++c) {
        values[c] = d[order[c]];
        for (int r = 0; r < 3; ++r)
            vectors[r * 3 + c] = v[r][order[c]];
    }
}

int buildTree(Model& model, std::ostream& warnings) {
    const int n = model.numTris_;
    model.boxes_.reset();
    model.numBoxes_ = 0;
    model.zeroAreaCount_ = 0;
    const auto boxCount = static_cast<std::size_t>(n) * 2;
    std::unique_ptr<Box[]> boxes(new (std::nothrow) Box[boxCount]);
    if (!boxes)
        return kModelOutOfMemory;
    std::unique_ptr<Moment[]> moments(new (std::nothrow) Moment[static_cast<std::size_t>(n)]);
    std::unique_ptr<int[]> order(new (std::nothrow) int[static_cast<std::size_t>(n)]);
    if (!moments || !order)
        return kModelOutOfMemory;

    float smallestArea = 0.0f;
    for (int i = 0; i < n; ++i) {
        const Tri& t = model.tris_[static_cast<std::size_t>(i)];
        moments[static_cast<std::size_t>(i)] = triangleMoment(t.p1, t.p2, t.p3);
        const float a = moments[static_cast<std::size_t>(i)].area;
        if (a > 0.0f) {
            smallestArea = smallestArea == 0.0f ? a : MinOf(a, smallestArea);
        } else {
            ++model.zeroAreaCount_;
        }
    }
    if (model.zeroAreaCount_ > 0) {
        warnings << "----\n"
                 << "Warning!  Some triangles have zero area!\n"
                 << "----\n";
        const float replacement = smallestArea > 0.0f ? smallestArea : 1.0f;
        for (int i = 0; i < n; ++i) {
            Moment& m = moments[static_cast<std::size_t>(i)];
            if (!(m.area > 0.0f))
                m.area = replacement;
        }
    }

    MomentSum all;
    for (int i = 0; i < n; ++i) {
        all.add(moments[static_cast<std::size_t>(i)]);
        order[static_cast<std::size_t>(i)] = i;
    }
    Vec3 mean{};
    Box& root = boxes[0];
    all.frame(mean, root.pR);
    Builder builder(model.tris_.get(), moments.get(), boxes.get());
    builder.split(root, order.get(), n, mean);

    model.boxes_ = std::move(boxes);
    model.numBoxes_ = static_cast<int>(boxCount);
    return kOk;
}

} // namespace kv::sim::collision
