#include "simulation/collision/obb_collide.h"

#include "simulation/collision/obb_overlap.h"

#include <algorithm>
#include <new>

namespace kv::sim::collision {
namespace {

constexpr int kInitialContacts = 10;

/// c = a b.
inline void matMul(const Mat3& a, const Mat3& b, Mat3& c) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            c[i * 3 + j] = a[i * 3] * b[j] + a[i * 3 + 1] * b[3 + j] + a[i * 3 + 2] * b[6 + j];
        }
    }
}

/// c = aᵀ b.
inline void matTMul(const Mat3& a, const Mat3& b, Mat3& c) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            c[i * 3 + j] = a[i] * b[j] + a[3 + i] * b[3 + j] + a[6 + i] * b[6 + j];
        }
    }
}

void copyCorners(const Tri& t, std::array<float, 9>& out) {
    std::copy(t.p1.begin(), t.p1.end(), out.begin());
    std::copy(t.p2.begin(), t.p2.end(), out.begin() + 3);
    std::copy(t.p3.begin(), t.p3.end(), out.begin() + 6);
}

} // namespace

Collider::Collider() = default;
Collider::~Collider() = default;

int Collider::collide(const Mat3& r1, const Vec3& t1, float s1, const Model& model1, const Mat3& r2,
                      const Vec3& t2, float s2, const Model& model2, int flag) {
    numContacts_ = 0;
    numBoxTests_ = 0;
    numTriTests_ = 0;
    firstOnly_ = flag == kFirstContact;
    if (model1.state() != BuildState::Processed || model2.state() != BuildState::Processed) {
        return kUnprocessedModel;
    }
    const Box* b1 = model1.root();
    const Box* b2 = model2.root();

    // Root boxes in the world.
    Mat3 w1{};
    Mat3 w2{};
    matMul(r1, b1->pR, w1);
    matMul(r2, b2->pR, w2);
    Vec3 c1{};
    Vec3 c2{};
    MatVec3(r1, b1->pT, c1);
    MatVec3(r2, b2->pT, c2);
    Vec3 delta{};
    for (int i = 0; i < 3; ++i)
        delta[i] = (s2 * c2[i] + t2[i]) - (s1 * c1[i] + t1[i]);

    // Root box 2 relative to root box 1, in model 1's units.
    Mat3 r{};
    matTMul(w1, w2, r);
    Vec3 t{};
    MatTVec3(w1, delta, t);
    for (float& v : t)
        v /= s1;
    scale_ = s2 / s1;

    // Model 1 coordinates to model 2 coordinates for the triangle tests.
    Mat3 r21{};
    matTMul(r2, r1, r21);
    const float ratio = s1 / s2;
    for (int i = 0; i < 9; ++i)
        mr_[i] = ratio * r21[i];
    Vec3 dt{};
    for (int i = 0; i < 3; ++i)
        dt[i] = t1[i] - t2[i];
    MatTVec3(r2, dt, mt_);
    for (float& v : mt_)
        v /= s2;

    return descend(b1, b2, r, t);
}

int Collider::descend(const Box* b1, const Box* b2, const Mat3& r, const Vec3& t) {
    if (firstOnly_ && numContacts_ > 0)
        return kOk;
    ++numBoxTests_;
    const Vec3 d2 = {scale_ * b2->d[0], scale_ * b2->d[1], scale_ * b2->d[2]};
    if (obbDisjoint(r, t, b1->d, d2) != 0)
        return kOk;

    const bool leaf1 = b1->leaf();
    const bool leaf2 = b2->leaf();
    if (leaf1 && leaf2)
        return testLeaves(*b1->trp, *b2->trp);

    Mat3 rc{};
    Vec3 tc{};
    if (leaf2 || (!leaf1 && b1->d[0] > d2[0])) {
        for (const Box* c : {b1->P, b1->N}) {
            // Box 2 in child c's frame: cᵀ R and cᵀ (T − c.T).
            matTMul(c->pR, r, rc);
            const Vec3 off = {t[0] - c->pT[0], t[1] - c->pT[1], t[2] - c->pT[2]};
            MatTVec3(c->pR, off, tc);
            const int result = descend(c, b2, rc, tc);
            if (result != kOk)
                return result;
        }
    } else {
        for (const Box* c : {b2->P, b2->N}) {
            // Child c of box 2 in box 1's frame: R c and s R c.T + T.
            matMul(r, c->pR, rc);
            Vec3 rt{};
            MatVec3(r, c->pT, rt);
            for (int i = 0; i < 3; ++i)
                tc[i] = scale_ * rt[i] + t[i];
            const int result = descend(b1, c, rc, tc);
            if (result != kOk)
                return result;
        }
    }
    return kOk;
}

int Collider::testLeaves(const Tri& tri1, const Tri& tri2) {
    Vec3 p1{};
    Vec3 p2{};
    Vec3 p3{};
    MatVec3(mr_, tri1.p1, p1);
    MatVec3(mr_, tri1.p2, p2);
    MatVec3(mr_, tri1.p3, p3);
    for (int i = 0; i < 3; ++i) {
        p1[i] += mt_[i];
        p2[i] += mt_[i];
        p3[i] += mt_[i];
    }
    ++numTriTests_;
    if (triContact(p1, p2, p3, tri2.p1, tri2.p2, tri2.p3)) {
        if (!addContact(tri1, tri2))
            return kCollideOutOfMemory;
    }
    return kOk;
}

bool Collider::addContact(const Tri& t1, const Tri& t2) {
    if (numContacts_ == capacity_) {
        const int grown = capacity_ == 0 ? kInitialContacts : capacity_ * 2;
        if (grown <= capacity_)
            return false;
        std::unique_ptr<Contact[]> larger(new (std::nothrow)
                                              Contact[static_cast<std::size_t>(grown)]);
        if (!larger)
            return false;
        std::copy_n(contacts_.get(), numContacts_, larger.get());
        contacts_ = std::move(larger);
        capacity_ = grown;
    }
    Contact& c = contacts_[static_cast<std::size_t>(numContacts_++)];
    c.id1 = t1.id;
    c.id2 = t2.id;
    copyCorners(t1, c.tri1);
    copyCorners(t2, c.tri2);
    return true;
}

} // namespace kv::sim::collision
