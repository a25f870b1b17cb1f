#include "model/template_mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kv::model {

namespace {

MeshPoint sub(const MeshPoint& a, const MeshPoint& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

MeshPoint cross(const MeshPoint& a, const MeshPoint& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const MeshPoint& a, const MeshPoint& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double length(const MeshPoint& a) {
    return std::sqrt(dot(a, a));
}

/// Points closer than this are one corner (m).
constexpr double kSamePoint = 1e-6;

bool same(const MeshPoint& a, const MeshPoint& b) {
    return length(sub(a, b)) < kSamePoint;
}

MeshPoint corner(const MeshFace& f, int k) {
    const auto i = static_cast<std::size_t>(3 * k);
    return {f[i], f[i + 1], f[i + 2]};
}

void setCorner(MeshFace& f, int k, const MeshPoint& p) {
    const auto i = static_cast<std::size_t>(3 * k);
    f[i] = p[0];
    f[i + 1] = p[1];
    f[i + 2] = p[2];
}

MeshFace makeFace(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c, const MeshPoint& d) {
    MeshFace f{};
    setCorner(f, 0, a);
    setCorner(f, 1, b);
    setCorner(f, 2, c);
    setCorner(f, 3, d);
    return f;
}

bool isTriangle(const MeshFace& f) {
    return same(corner(f, 2), corner(f, 3));
}

/// The face's triangles as the mesh intake forms them: (0,1,2) and (0,2,3).
double triangleArea(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c) {
    return 0.5 * length(cross(sub(b, a), sub(c, a)));
}

double faceArea(const MeshFace& f) {
    const double first = triangleArea(corner(f, 0), corner(f, 1), corner(f, 2));
    return isTriangle(f) ? first : first + triangleArea(corner(f, 0), corner(f, 2), corner(f, 3));
}

MeshFace reversed(const MeshFace& f) {
    if (isTriangle(f)) {
        return makeFace(corner(f, 0), corner(f, 2), corner(f, 1), corner(f, 1));
    }
    return makeFace(corner(f, 0), corner(f, 3), corner(f, 2), corner(f, 1));
}

} // namespace

MeshPoint lerp(const MeshPoint& a, const MeshPoint& b, double t) {
    return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t};
}

void MeshBuilder::quad(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c,
                       const MeshPoint& d) {
    const MeshPoint in[4] = {a, b, c, d};
    MeshPoint kept[4];
    int n = 0;
    for (int k = 0; k < 4; ++k) {
        const MeshPoint& p = in[k];
        if (!same(p, in[(k + 1) % 4])) {
            kept[n++] = p;
        }
    }
    if (n == 4) {
        faces_.push_back(makeFace(kept[0], kept[1], kept[2], kept[3]));
    } else if (n == 3) {
        faces_.push_back(makeFace(kept[0], kept[1], kept[2], kept[2]));
    }
}

void MeshBuilder::triangle(const MeshPoint& a, const MeshPoint& b, const MeshPoint& c) {
    quad(a, b, c, c);
}

void MeshBuilder::orientSince(std::size_t mark) {
    // Signed volume of the faces added since `mark`, taken about their mean
    // corner so that a part far from the origin is judged as well as a near one.
    MeshPoint ref{};
    double count = 0.0;
    for (std::size_t i = mark; i < faces_.size(); ++i) {
        for (int k = 0; k < 4; ++k) {
            const MeshPoint p = corner(faces_[i], k);
            for (std::size_t j = 0; j < 3; ++j)
                ref[j] += p[j];
            count += 1.0;
        }
    }
    if (count == 0.0)
        return;
    for (double& v : ref)
        v /= count;
    double volume = 0.0;
    for (std::size_t i = mark; i < faces_.size(); ++i) {
        const MeshFace& f = faces_[i];
        const MeshPoint p0 = sub(corner(f, 0), ref);
        volume += dot(p0, cross(sub(corner(f, 1), ref), sub(corner(f, 2), ref)));
        if (!isTriangle(f)) {
            volume += dot(p0, cross(sub(corner(f, 2), ref), sub(corner(f, 3), ref)));
        }
    }
    if (volume < 0.0) {
        for (std::size_t i = mark; i < faces_.size(); ++i)
            faces_[i] = reversed(faces_[i]);
    }
}

namespace {

/// Strip across a ring pairing point k with point n-1-k.
void capStrip(MeshBuilder& b, const MeshRing& r) {
    std::size_t lo = 0;
    std::size_t hi = r.size() - 1;
    while (hi > lo + 1) {
        if (hi == lo + 2) {
            b.triangle(r[lo], r[lo + 1], r[hi]);
            break;
        }
        b.quad(r[lo], r[lo + 1], r[hi - 1], r[hi]);
        ++lo;
        --hi;
    }
}

void joinRings(MeshBuilder& b, const std::vector<MeshRing>& rings) {
    for (std::size_t i = 0; i + 1 < rings.size(); ++i) {
        const MeshRing& p = rings[i];
        const MeshRing& q = rings[i + 1];
        for (std::size_t k = 0; k < p.size(); ++k) {
            const std::size_t k1 = (k + 1) % p.size();
            b.quad(p[k], p[k1], q[k1], q[k]);
        }
    }
}

} // namespace

void MeshBuilder::loft(const std::vector<MeshRing>& rings) {
    const std::size_t mark = faces_.size();
    joinRings(*this, rings);
    // The two ends face opposite ways: the first cap runs against the ring order.
    capStrip(*this, MeshRing(rings.front().rbegin(), rings.front().rend()));
    capStrip(*this, rings.back());
    orientSince(mark);
}

void MeshBuilder::loftToPoints(const MeshPoint& first, const std::vector<MeshRing>& rings,
                               const MeshPoint& last) {
    const std::size_t mark = faces_.size();
    joinRings(*this, rings);
    const MeshRing& a = rings.front();
    const MeshRing& z = rings.back();
    for (std::size_t k = 0; k < a.size(); ++k) {
        triangle(first, a[(k + 1) % a.size()], a[k]);
    }
    for (std::size_t k = 0; k < z.size(); ++k) {
        triangle(last, z[k], z[(k + 1) % z.size()]);
    }
    orientSince(mark);
}

void MeshBuilder::tube(const std::vector<MeshPoint>& path, const std::vector<double>& radius,
                       int sides) {
    const std::size_t n = path.size();
    std::vector<MeshRing> rings;
    MeshPoint u{};
    for (std::size_t i = 0; i < n; ++i) {
        const MeshPoint ahead = sub(path[std::min(i + 1, n - 1)], path[i == 0 ? 0 : i - 1]);
        const MeshPoint t = lerp({0, 0, 0}, ahead, 1.0 / length(ahead));
        if (i == 0) {
            // Start from the body axis least aligned with the path.
            MeshPoint ref{1, 0, 0};
            if (std::abs(t[1]) < std::abs(t[0]) && std::abs(t[1]) <= std::abs(t[2]))
                ref = {0, 1, 0};
            if (std::abs(t[2]) < std::abs(t[0]) && std::abs(t[2]) < std::abs(t[1]))
                ref = {0, 0, 1};
            u = cross(t, ref);
        } else {
            // Carry the previous frame over: drop its component along the path.
            u = sub(u, lerp({0, 0, 0}, t, dot(u, t)));
        }
        u = lerp({0, 0, 0}, u, 1.0 / length(u));
        rings.push_back(circleRing(path[i], u, cross(t, u), radius[i], sides));
    }
    loft(rings);
}

void MeshBuilder::tube(const std::vector<MeshPoint>& path, double radius, int sides) {
    tube(path, std::vector<double>(path.size(), radius), sides);
}

void MeshBuilder::block(const MeshPoint& centre, const MeshPoint& u, const MeshPoint& v,
                        const MeshPoint& w) {
    MeshRing a;
    MeshRing b;
    const double su[4] = {-1, 1, 1, -1};
    const double sv[4] = {-1, -1, 1, 1};
    for (int k = 0; k < 4; ++k) {
        MeshPoint p = centre;
        for (std::size_t j = 0; j < 3; ++j)
            p[j] += su[k] * u[j] + sv[k] * v[j];
        a.push_back({p[0] - w[0], p[1] - w[1], p[2] - w[2]});
        b.push_back({p[0] + w[0], p[1] + w[1], p[2] + w[2]});
    }
    loft({a, b});
}

void MeshBuilder::box(const MeshPoint& lo, const MeshPoint& hi) {
    const MeshRing a = {
        {lo[0], lo[1], lo[2]}, {lo[0], hi[1], lo[2]}, {lo[0], hi[1], hi[2]}, {lo[0], lo[1], hi[2]}};
    MeshRing b = a;
    for (MeshPoint& p : b)
        p[0] = hi[0];
    loft({a, b});
}

void MeshBuilder::mirrorSince(std::size_t mark) {
    const std::size_t end = faces_.size();
    for (std::size_t i = mark; i < end; ++i) {
        MeshFace f = faces_[i];
        for (int k = 0; k < 4; ++k)
            f[static_cast<std::size_t>(3 * k + 1)] *= -1.0;
        faces_.push_back(reversed(f));
    }
}

void MeshBuilder::refineTo(std::size_t count) {
    while (faces_.size() < count) {
        std::size_t best = 0;
        double bestArea = -1.0;
        for (std::size_t i = 0; i < faces_.size(); ++i) {
            const double a = faceArea(faces_[i]);
            if (a > bestArea) {
                bestArea = a;
                best = i;
            }
        }
        const MeshFace f = faces_[best];
        const MeshPoint p[4] = {corner(f, 0), corner(f, 1), corner(f, 2), corner(f, 3)};
        if (isTriangle(f)) {
            // Split at the middle of the longest side.
            int side = 0;
            double longest = -1.0;
            for (int k = 0; k < 3; ++k) {
                const double d = length(sub(p[(k + 1) % 3], p[k]));
                if (d > longest) {
                    longest = d;
                    side = k;
                }
            }
            const MeshPoint& a = p[side];
            const MeshPoint& b = p[(side + 1) % 3];
            const MeshPoint& c = p[(side + 2) % 3];
            const MeshPoint m = lerp(a, b, 0.5);
            faces_[best] = makeFace(a, m, c, c);
            faces_.push_back(makeFace(m, b, c, c));
        } else {
            // Cut across the longer pair of opposite sides (0-1 with 2-3, or
            // 1-2 with 3-0).
            const double s01 = length(sub(p[1], p[0])) + length(sub(p[3], p[2]));
            const double s12 = length(sub(p[2], p[1])) + length(sub(p[0], p[3]));
            if (s01 >= s12) {
                const MeshPoint m01 = lerp(p[0], p[1], 0.5);
                const MeshPoint m23 = lerp(p[2], p[3], 0.5);
                faces_[best] = makeFace(p[0], m01, m23, p[3]);
                faces_.push_back(makeFace(m01, p[1], p[2], m23));
            } else {
                const MeshPoint m12 = lerp(p[1], p[2], 0.5);
                const MeshPoint m30 = lerp(p[3], p[0], 0.5);
                faces_[best] = makeFace(p[0], p[1], m12, m30);
                faces_.push_back(makeFace(m30, m12, p[2], p[3]));
            }
        }
    }
}

MeshRing ellipseRing(const MeshPoint& centre, double ry, double rz, int n) {
    MeshRing r;
    r.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const double a = 2.0 * std::numbers::pi * (k + 0.5) / n;
        r.push_back({centre[0], centre[1] + ry * std::sin(a), centre[2] + rz * std::cos(a)});
    }
    return r;
}

MeshRing roundedRing(const MeshPoint& centre, double ry, double rz, int n, double power) {
    MeshRing r;
    r.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const double a = 2.0 * std::numbers::pi * (k + 0.5) / n;
        const double s = std::sin(a);
        const double c = std::cos(a);
        r.push_back({centre[0],
                     centre[1] + ry * std::copysign(std::pow(std::abs(s), 2.0 / power), s),
                     centre[2] + rz * std::copysign(std::pow(std::abs(c), 2.0 / power), c)});
    }
    return r;
}

MeshRing circleRing(const MeshPoint& centre, const MeshPoint& u, const MeshPoint& v, double r,
                    int n) {
    MeshRing ring;
    ring.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const double a = 2.0 * std::numbers::pi * (k + 0.5) / n;
        const double cu = r * std::cos(a);
        const double cv = r * std::sin(a);
        ring.push_back({centre[0] + cu * u[0] + cv * v[0], centre[1] + cu * u[1] + cv * v[1],
                        centre[2] + cu * u[2] + cv * v[2]});
    }
    return ring;
}

} // namespace kv::model
