#include "app/render/render_lists.h"

#include <algorithm>

namespace kv::app {

unsigned DisplayListManager::rebuild(unsigned& slot) {
    free(slot);
    slot = backend_.generateAndOpen();
    chain_.push_back(slot);
    return slot;
}

void DisplayListManager::free(unsigned& slot) {
    if (slot == 0)
        return;
    const auto it = std::find(chain_.begin(), chain_.end(), slot);
    if (it != chain_.end()) {
        chain_.erase(it);
        backend_.deleteList(slot);
    }
    slot = 0;
}

void DisplayListManager::freeAll() {
    for (unsigned name : chain_)
        backend_.deleteList(name);
    chain_.clear();
}

void removeObjectList(DisplayListManager& manager, SceneLists& lists, std::size_t k) {
    if (k >= lists.objects.size())
        return;
    manager.free(lists.objects[k]);
    lists.objects.erase(lists.objects.begin() + static_cast<std::ptrdiff_t>(k));
}

} // namespace kv::app
