#pragma once
/// Bookkeeping of the compiled display lists: one manager owns a chain of list
/// names; the graphics calls go through a small backend the view supplies.

#include <array>
#include <cstddef>
#include <list>
#include <vector>

namespace kv::app {

/// The graphics library's list calls.
class ListBackend {
  public:
    virtual ~ListBackend() = default;
    /// Generates one list name (never 0) and opens it for compiling.
    virtual unsigned generateAndOpen() = 0;
    virtual void deleteList(unsigned name) = 0;
};

class DisplayListManager {
  public:
    explicit DisplayListManager(ListBackend& backend) : backend_(backend) {}
    DisplayListManager(const DisplayListManager&) = delete;
    DisplayListManager& operator=(const DisplayListManager&) = delete;

    /// Frees `slot`'s old list, appends a new node, generates its name and
    /// opens it for compiling; the builder issues geometry and ends the list.
    unsigned rebuild(unsigned& slot);
    /// Unlinks the node of `slot` and deletes its list; 0 stays 0.
    void free(unsigned& slot);
    /// Deletes every list in the chain (slots holding them must be cleared by
    /// their owner).
    void freeAll();

    const std::list<unsigned>& chain() const { return chain_; }

  private:
    ListBackend& backend_;
    std::list<unsigned> chain_;
};

inline constexpr int kScenerySlots = 5;

/// The scene's list slots; 0 means not built.
struct SceneLists {
    unsigned terrain = 0;
    std::array<unsigned, kScenerySlots> scenery{};
    unsigned skidMarker = 0;
    unsigned axisMarker = 0;
    unsigned bladeMarker = 0;
    unsigned tireMarker = 0;
    unsigned grid = 0;
    unsigned sky = 0;
    unsigned stars = 0;
    std::array<unsigned, 4> guides{}; ///< action safe, title safe, cross line, hatch line
    std::vector<unsigned> objects;    ///< one per object slot
};

/// Removes object slot `k`'s list and shifts the later slots down, as removing
/// an object from the table does.
void removeObjectList(DisplayListManager& manager, SceneLists& lists, std::size_t k);

} // namespace kv::app
