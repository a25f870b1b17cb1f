#include "simulation/collision/obb_tree.h"

#include <algorithm>
#include <iostream>
#include <new>

namespace kv::sim::collision {

Model::Model() = default;
Model::~Model() = default;
Model::Model(Model&&) noexcept = default;
Model& Model::operator=(Model&&) noexcept = default;

void Model::freeAll() {
    boxes_.reset();
    numBoxes_ = 0;
    tris_.reset();
    numTris_ = 0;
    numTrisAlloc_ = 0;
    zeroAreaCount_ = 0;
}

int beginModel(Model& model) {
    const BuildState previous = model.state_;
    model.freeAll();
    model.state_ = BuildState::Begun;
    return previous == BuildState::Begun || previous == BuildState::Adding ? kBuildOutOfSequence
                                                                           : kOk;
}

int addTri(Model& model, const Vec3& p1, const Vec3& p2, const Vec3& p3, std::int32_t id) {
    if (model.state_ == BuildState::Processed)
        return kBuildOutOfSequence;
    if (model.numTris_ == model.numTrisAlloc_) {
        const int grown = model.numTrisAlloc_ == 0 ? 1 : model.numTrisAlloc_ * 2;
        if (grown <= model.numTrisAlloc_)
            return kModelOutOfMemory;
        std::unique_ptr<Tri[]> larger(new (std::nothrow) Tri[static_cast<std::size_t>(grown)]);
        if (!larger)
            return kModelOutOfMemory;
        std::copy_n(model.tris_.get(), model.numTris_, larger.get());
        model.tris_ = std::move(larger);
        model.numTrisAlloc_ = grown;
    }
    Tri& t = model.tris_[static_cast<std::size_t>(model.numTris_++)];
    t.id = id;
    t.p1 = p1;
    t.p2 = p2;
    t.p3 = p3;
    model.state_ = BuildState::Adding;
    return kOk;
}

int endModel(Model& model, std::ostream& warnings) {
    if (model.numTris_ == 0)
        return kBuildEmptyModel;
    const int result = buildTree(model, warnings);
    if (result == kOk)
        model.state_ = BuildState::Processed;
    return result;
}

int endModel(Model& model) {
    return endModel(model, std::cerr);
}

} // namespace kv::sim::collision
