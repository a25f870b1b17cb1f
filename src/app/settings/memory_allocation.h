#pragma once
/// Allocation of every large buffer from the memory settings, with the
/// fallback to the factory settings when the chosen ones cannot be had.

#include "app/settings/memory_settings.h"
#include "common/ports/messages.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kv::app {

/// The owner of the buffers the settings size.
class MemoryOwner {
  public:
    virtual ~MemoryOwner() = default;
    /// Allocates every block, zero-filled; false when any block cannot be had.
    virtual bool allocate(const MemorySettings& settings) = 0;
    /// Frees every block; harmless when nothing is allocated.
    virtual void release() = 0;
};

/// A MemoryOwner made of ordered steps (object table, record buffers, terrain
/// grid, display, collision). A step that fails fails the whole allocation,
/// and every step is then released.
class SteppedMemory final : public MemoryOwner {
  public:
    struct Step {
        std::function<bool(const MemorySettings&)> allocate;
        std::function<void()> release;
    };
    void addStep(Step step) { steps_.push_back(std::move(step)); }
    bool allocate(const MemorySettings& settings) override;
    void release() override;

  private:
    std::vector<Step> steps_;
};

inline constexpr const char* kMinimumMemoryMessage =
    "The minimum amount of memory required to run Kestrovane is not available. Try increasing "
    "the RAM allocation.";
inline constexpr const char* kMemoryResetMessage =
    "The memory settings were reset in order to execute Kestrovane using the available RAM.";

/// Allocates `owner` with `settings`. At start-up (`startUp`) a machine whose
/// `totalPhysical` memory is below the minimum is refused first. When the
/// settings cannot be had (or lie outside their ranges) they become the
/// factory settings and the allocation is tried again, with a message saying
/// so; when even that fails, the minimum-memory message and false.
bool allocateWithFallback(MemorySettings& settings, MemoryOwner& owner, bool startUp,
                          std::optional<std::int64_t> totalPhysical, MessagePort& messages);

} // namespace kv::app
