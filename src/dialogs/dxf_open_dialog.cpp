#include "dialogs/dxf_open_dialog.h"

#include "dialogs/appearance_dialog.h"
#include "dialogs/file_dialog_setup.h"
#include "geometry/dxf_header.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <filesystem>

namespace kv::dialogs {

DxfOpenDialog::DxfOpenDialog(const DxfOpenRequest& request, MessagePort& messages, QWidget* parent)
    : QFileDialog(parent), request_(request), messages_(messages),
      startTransform_(request.transform) {
    setObjectName(QStringLiteral("dxfOpenDialog"));
    FileRequest file = request.file;
    file.save = false;
    configureFileDialog(*this, file);

    transformButton_ = new QPushButton(QStringLiteral("Transform..."), this);
    colorButton_ = new QPushButton(QStringLiteral("Color..."), this);
    colorButton_->setEnabled(request.colorEnabled);
    connect(transformButton_, &QPushButton::clicked, this, &DxfOpenDialog::editTransform);
    connect(colorButton_, &QPushButton::clicked, this, &DxfOpenDialog::editColor);
    connect(this, &QFileDialog::currentChanged, this, &DxfOpenDialog::proposeAxesOf);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(transformButton_);
    row->addWidget(colorButton_);
    // The non-native dialog lays itself out in a grid; the buttons go in a row below it.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addLayout(row, grid->rowCount(), 0, 1, grid->columnCount());
    }
}

void DxfOpenDialog::editTransform() {
    TransformDialog dialog(request_.transform, request_.units, messages_, this);
    if (dialog.exec() == QDialog::Accepted) {
        request_.transform = dialog.transform();
        transformEdited_ = true;
    }
}

void DxfOpenDialog::proposeAxesOf(const QString& path) {
    // What the user set in the Transform dialog wins over the file's comment.
    if (transformEdited_ || path.isEmpty())
        return;
    request_.transform = geom::withFileAxes(
        startTransform_, std::filesystem::path(QFile::encodeName(path).toStdString()));
}

void DxfOpenDialog::editColor() {
    AppearanceDialog dialog(request_.color, request_.transparency, this);
    if (dialog.exec() == QDialog::Accepted) {
        request_.color = dialog.color();
        request_.transparency = dialog.transparency();
    }
}

DxfOpenResult DxfOpenDialog::choice() const {
    DxfOpenResult r;
    const QStringList files = selectedFiles();
    if (!files.isEmpty())
        r.path = QFile::encodeName(files.front()).toStdString();
    r.transform = request_.transform;
    // A name typed rather than picked was never current: propose its system now.
    if (!transformEdited_ && !r.path.empty())
        r.transform = geom::withFileAxes(r.transform, std::filesystem::path(r.path));
    r.color = request_.color;
    r.transparency = request_.transparency;
    return r;
}

std::optional<DxfOpenResult> runDxfOpenDialog(const DxfOpenRequest& request, MessagePort& messages,
                                              QWidget* parent) {
    DxfOpenDialog dialog(request, messages, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    DxfOpenResult r = dialog.choice();
    if (r.path.empty())
        return std::nullopt;
    return r;
}

} // namespace kv::dialogs
