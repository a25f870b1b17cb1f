#pragma once
/// The open dialog of DXF imports: a file dialog with "Transform..." (the
/// import transform) and "Color..." (the colour and transparency pair). What
/// the two buttons change counts only when the file dialog ends with OK.

#include "common/ports/files.h"
#include "common/ports/messages.h"
#include "dialogs/transform_dialog.h"
#include "model/object_record.h"

#include <QFileDialog>
#include <optional>

class QPushButton;

namespace kv::dialogs {

struct DxfOpenRequest {
    FileRequest file;                   ///< title and filters
    model::GeometryTransform transform; ///< the transform the dialog starts from
    int color = model::kColorWhite;     ///< colour code the dialog starts from
    int transparency = model::kSolid;   ///< transparency the dialog starts from
    bool colorEnabled = true;           ///< false for terrain: no colour to choose
    app::WorkingUnits units;            ///< how the Transform dialog shows translations
};

struct DxfOpenResult {
    std::string path;
    model::GeometryTransform transform;
    int color = model::kColorWhite;
    int transparency = model::kSolid;
};

class DxfOpenDialog final : public QFileDialog {
    Q_OBJECT
  public:
    DxfOpenDialog(const DxfOpenRequest& request, MessagePort& messages, QWidget* parent = nullptr);

    /// The chosen file with the values of the two buttons (valid after OK).
    DxfOpenResult choice() const;

    QPushButton* transformButton() const { return transformButton_; }
    QPushButton* colorButton() const { return colorButton_; }
    /// The transform OK would return now.
    const model::GeometryTransform& transform() const { return request_.transform; }

  public slots:
    void editTransform();
    void editColor();
    /// A file of ours names its coordinate system in its header comment: the
    /// transform takes that system until the user edits the transform.
    void proposeAxesOf(const QString& path);

  private:
    DxfOpenRequest request_;
    MessagePort& messages_;
    QPushButton* transformButton_ = nullptr;
    QPushButton* colorButton_ = nullptr;
    /// The transform the dialog started from: what a file naming no system gets.
    model::GeometryTransform startTransform_;
    bool transformEdited_ = false; ///< the Transform dialog ended with OK
};

/// Runs the dialog; nothing when cancelled.
std::optional<DxfOpenResult> runDxfOpenDialog(const DxfOpenRequest& request, MessagePort& messages,
                                              QWidget* parent);

} // namespace kv::dialogs
