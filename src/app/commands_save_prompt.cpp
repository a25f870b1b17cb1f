#include "app/commands_save_prompt.h"

namespace kv::app {

bool confirmSaveFirst(bool projectModified, std::string_view message,
                      const SavePromptHooks& hooks) {
    if (!projectModified)
        return true;
    switch (hooks.ask(message)) {
    case SavePromptChoice::Save:
        return hooks.save();
    case SavePromptChoice::DontSave:
        return true;
    case SavePromptChoice::Cancel:
        return false;
    }
    return false;
}

} // namespace kv::app
