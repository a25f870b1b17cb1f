#pragma once
/// The one collision pair of a run: the simulated object against the
/// interactive object.

#include "model/object_record.h"
#include "simulation/sim_object.h"

#include <span>

namespace kv::sim {

class CollisionPair {
  public:
    virtual ~CollisionPair() = default;
    /// Empties the model list and builds one collision model for each of
    /// `objectIndices` (the slots' objects, slot order).
    virtual void buildModels(std::span<const model::ObjectRecord> objects,
                             std::span<const int> objectIndices) = 0;
    /// Tests the two slots' objects against each other and stores any contact
    /// in both for their collision response.
    virtual void testPair(SimObject& first, SimObject& second) = 0;
};

/// No collision models: nothing ever touches.
class NoCollision final : public CollisionPair {
  public:
    void buildModels(std::span<const model::ObjectRecord>, std::span<const int>) override {}
    void testPair(SimObject&, SimObject&) override {}
};

} // namespace kv::sim
