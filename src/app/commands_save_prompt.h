#pragma once
/// The save prompt in front of operations that would drop unsaved changes
/// (New Project, Open Project, Exit, Memory): no prompt while the project is
/// unmodified; otherwise Save saves first and goes on only when that save
/// succeeds, Don't Save goes on, Cancel (or closing the prompt) stops.

#include <functional>
#include <string_view>

namespace kv::app {

enum class SavePromptChoice { Save, DontSave, Cancel };

struct SavePromptHooks {
    /// Shows the prompt with the message and returns the user's choice.
    std::function<SavePromptChoice(std::string_view message)> ask;
    /// Saves the project (asking for a name if it has none); false when
    /// cancelled or failed.
    std::function<bool()> save;
};

/// Whether the operation may go on.
bool confirmSaveFirst(bool projectModified, std::string_view message, const SavePromptHooks& hooks);

} // namespace kv::app
