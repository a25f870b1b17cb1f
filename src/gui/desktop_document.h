#pragma once
/// The desktop program's project document with its ports: the message box,
/// progress display, file dialogs, the "Save First?" prompt and a private
/// working folder for the scenery and terrain working files.

#include "app/document.h"
#include "common/ports/question.h"
#include "geometry/working_files.h"

#include <memory>

class QWidget;

namespace kv::gui {

/// The "Save First?" prompt as a question port.
class QtQuestions final : public QuestionPort {
  public:
    explicit QtQuestions(QWidget* parent) : parent_(parent) {}
    SaveAnswer askSaveFirst(std::string_view text) override;

  private:
    QWidget* parent_;
};

class DesktopDocument {
  public:
    /// Allocates the document from the memory settings in `preferences`
    /// (copied into the document); null when no working folder can be made.
    static std::unique_ptr<DesktopDocument> create(QWidget* parent, MessagePort& messages,
                                                   ProgressPort& progress, FilePort& files,
                                                   const app::Preferences& preferences);

    app::Document& document() { return *document_; }

  private:
    DesktopDocument(QWidget* parent, std::unique_ptr<geom::PrivateWorkingFolder> folder)
        : questions_(parent), folder_(std::move(folder)) {}

    QtQuestions questions_;
    std::unique_ptr<geom::PrivateWorkingFolder> folder_;
    std::unique_ptr<app::Document> document_;
};

} // namespace kv::gui
