#include "gui/desktop_document.h"

#include "app/memory_settings.h"
#include "dialogs/save_first_dialog.h"

namespace kv::gui {

SaveAnswer QtQuestions::askSaveFirst(std::string_view text) {
    switch (dialogs::askSaveFirst(parent_, text)) {
    case app::SavePromptChoice::Save:
        return SaveAnswer::kSave;
    case app::SavePromptChoice::DontSave:
        return SaveAnswer::kDontSave;
    case app::SavePromptChoice::Cancel:
        break;
    }
    return SaveAnswer::kCancel;
}

std::unique_ptr<DesktopDocument> DesktopDocument::create(QWidget* parent, MessagePort& messages,
                                                         ProgressPort& progress, FilePort& files,
                                                         const app::Preferences& preferences) {
    auto folder = geom::PrivateWorkingFolder::create();
    if (!folder)
        return nullptr;
    std::unique_ptr<DesktopDocument> d(new DesktopDocument(parent, std::move(folder)));
    d->document_ = std::make_unique<app::Document>(
        app::DocumentPorts{messages, progress, files, d->questions_, *d->folder_});
    d->document_->preferences() = preferences;
    d->document_->allocate(app::memorySettingsOf(preferences), true, std::nullopt);
    return d;
}

} // namespace kv::gui
