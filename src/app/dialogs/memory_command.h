#pragma once
/// Preferences > Memory: the one command that frees and re-allocates every
/// buffer of the program. It always ends with a new project.

#include "app/dialogs/memory_form.h"

#include <functional>
#include <optional>

namespace kv::app {

class Document;

/// Shows the Memory and Accuracy dialog starting from a form; returns the
/// form chosen with OK, or nothing on Cancel.
using MemoryDialogRunner = std::function<std::optional<MemoryForm>(const MemoryForm& start)>;

enum class MemoryCommandResult {
    kCancelled, ///< the save prompt was cancelled: nothing changed, the modified flag kept
    kDone,      ///< a new project with the settings now in force
    kFailed,    ///< not even the fallback could be allocated: the program must end
};

/// Marks the project modified so the save prompt always shows; after the
/// prompt, starts a new project, shrinks every buffer to the minimal
/// settings, shows the dialog from the settings that were in force, then
/// allocates with the chosen (or, after Cancel, the previous) settings with
/// the fallback to the factory ones. OK also stores the chosen physics step.
MemoryCommandResult runMemoryCommand(Document& document, const MemoryDialogRunner& dialog,
                                     std::optional<std::int64_t> totalPhysical);

} // namespace kv::app
