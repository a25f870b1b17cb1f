#include "gui/qt_questions.h"

#include "dialogs/save_first_dialog.h"

namespace kv::gui {

SaveAnswer QtQuestions::askSaveFirst(std::string_view text) {
    return dialogs::askSaveFirst(parent_, text);
}

} // namespace kv::gui
