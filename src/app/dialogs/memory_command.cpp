#include "app/dialogs/memory_command.h"

#include "app/document/document.h"

namespace kv::app {

MemoryCommandResult runMemoryCommand(Document& doc, const MemoryDialogRunner& dialog,
                                     std::optional<std::int64_t> totalPhysical) {
    const MemorySettings previous = doc.memory();
    const bool wasModified = doc.modified();
    doc.setModified(true);
    if (!doc.confirmDiscard(Document::kMemorySaveFirstFormat)) {
        // Nothing happened: an unchanged project is not left marked as changed.
        doc.setModified(wasModified);
        return MemoryCommandResult::kCancelled;
    }
    doc.newProject();
    // Frees the large buffers while the dialog is open, as the estimate of
    // available memory assumes.
    if (!doc.allocate(kMinimalMemory, false, totalPhysical))
        return MemoryCommandResult::kFailed;

    MemorySettings chosen = previous;
    const std::optional<MemoryForm> form =
        dialog(memoryForm(previous, doc.preferences().simTimeStep));
    if (form) {
        chosen = form->settings;
        if (form->accuracy >= 0 && form->accuracy < static_cast<int>(kAccuracyChoices.size()))
            doc.preferences().simTimeStep =
                kAccuracyChoices[static_cast<std::size_t>(form->accuracy)].step;
    }
    if (!doc.allocate(chosen, false, totalPhysical))
        return MemoryCommandResult::kFailed;
    return MemoryCommandResult::kDone;
}

} // namespace kv::app
