#pragma once
/// The effector tree as the exporters walk it: the effectors without a parent
/// in effector order, each followed depth first by its children in the order
/// of its children list. Built once from the record so that the hierarchy and
/// every frame visit the effectors in the same order.
///
/// A record read from a file may name children out of range or link effectors
/// in a circle; such links are dropped here, so that every effector appears at
/// most once and the walk always ends.

#include "model/object_record.h"

#include <array>
#include <vector>

namespace kv::exp {

struct EffectorTree {
    /// Effectors without a parent, in effector order.
    std::vector<int> roots;
    /// Children of each effector, as the walk visits them.
    std::array<std::vector<int>, model::kMaxEffectors> children;
    /// Every effector reached, depth first (the export order).
    std::vector<int> order;
};

EffectorTree buildEffectorTree(const model::ObjectRecord& record);

} // namespace kv::exp
