#pragma once
/// Querying two box trees for touching triangle pairs.

#include "common/vecmath.h"
#include "simulation/collision/obb_tree.h"

#include <array>
#include <cstdint>
#include <memory>

namespace kv::sim::collision {

/// Query flags.
inline constexpr int kAllContacts = 1;
inline constexpr int kFirstContact = 2;

/// One touching triangle pair (80 bytes).
struct Contact {
    std::int32_t id1 = 0;        ///< id of model 1's triangle
    std::int32_t id2 = 0;        ///< id of model 2's triangle
    std::array<float, 9> tri1{}; ///< model 1's triangle corners, model 1 coordinates (m)
    std::array<float, 9> tri2{}; ///< model 2's triangle corners, model 2 coordinates (m)
};
static_assert(sizeof(Contact) == 80);

/// Runs queries and holds the contact list and counters of the last one. The
/// list starts with room for 10 contacts and doubles when full; its memory is
/// kept from one query to the next.
class Collider {
  public:
    Collider();
    ~Collider();
    Collider(const Collider&) = delete;
    Collider& operator=(const Collider&) = delete;

    /// Tests model 1 placed at x_world = s1 R1 x + T1 against model 2 placed at
    /// s2 R2 x + T2 (R row order). `flag` is kAllContacts or kFirstContact.
    /// Returns kUnprocessedModel unless both models are processed, and
    /// kCollideOutOfMemory when the contact list cannot grow (the contacts
    /// found until then stay); else kOk.
    int collide(const Mat3& r1, const Vec3& t1, float s1, const Model& model1, const Mat3& r2,
                const Vec3& t2, float s2, const Model& model2, int flag);

    int contactCount() const { return numContacts_; }
    const Contact& contact(int i) const { return contacts_[i]; }
    /// Box pairs tested by the last query.
    int boxTests() const { return numBoxTests_; }
    /// Triangle pairs tested by the last query.
    int triangleTests() const { return numTriTests_; }

  private:
    int descend(const Box* b1, const Box* b2, const Mat3& r, const Vec3& t);
    int testLeaves(const Tri& t1, const Tri& t2);
    bool addContact(const Tri& t1, const Tri& t2);

    std::unique_ptr<Contact[]> contacts_;
    int numContacts_ = 0;
    int capacity_ = 0;
    int numBoxTests_ = 0;
    int numTriTests_ = 0;

    // State of the running query.
    bool firstOnly_ = false;
    float scale_ = 1.0f; ///< s2 / s1
    Mat3 mr_{};          ///< model 1 to model 2 rotation and scale
    Vec3 mt_{};          ///< model 1 to model 2 translation
};

} // namespace kv::sim::collision
