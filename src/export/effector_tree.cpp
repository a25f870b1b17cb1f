#include "export/effector_tree.h"

#include <algorithm>

namespace kv::exp {
namespace {

struct TreeBuilder {
    const model::ObjectRecord& record;
    int count;
    EffectorTree& tree;
    std::array<bool, model::kMaxEffectors> visited{};

    void visit(int index) {
        visited[static_cast<std::size_t>(index)] = true;
        tree.order.push_back(index);
        const model::EffectorRecord& e = record.effectors[static_cast<std::size_t>(index)];
        const int childCount = std::clamp(e.childCount, 0, model::kMaxChildren);
        for (int c = 0; c < childCount; ++c) {
            const int child = e.children[static_cast<std::size_t>(c)];
            if (child < 0 || child >= count || visited[static_cast<std::size_t>(child)]) {
                continue;
            }
            tree.children[static_cast<std::size_t>(index)].push_back(child);
            visit(child);
        }
    }
};

} // namespace

EffectorTree buildEffectorTree(const model::ObjectRecord& record) {
    EffectorTree tree;
    const int count = std::clamp(record.effectorCount, 0, model::kMaxEffectors);
    TreeBuilder builder{record, count, tree};
    for (int i = 0; i < count; ++i) {
        if (record.effectors[static_cast<std::size_t>(i)].parent < 0 &&
            !builder.visited[static_cast<std::size_t>(i)]) {
            tree.roots.push_back(i);
            builder.visit(i);
        }
    }
    return tree;
}

} // namespace kv::exp
