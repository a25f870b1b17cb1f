#include "dialogs/dxf_open_dialog.h"

#include "dialogs/appearance_dialog.h"
#include "gui/qt_file_dialogs.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace kv::dialogs {

DxfOpenDialog::DxfOpenDialog(const DxfOpenRequest& request, MessagePort& messages, QWidget* parent)
    : QFileDialog(parent), request_(request), messages_(messages) {
    setObjectName(QStringLiteral("dxfOpenDialog"));
    FileRequest file = request.file;
    file.save = false;
    gui::configureFileDialog(*this, file);

    transformButton_ = new QPushButton(QStringLiteral("Transform..."), this);
    colorButton_ = new QPushButton(QStringLiteral("Color..."), this);
    colorButton_->setEnabled(request.colorEnabled);
    connect(transformButton_, &QPushButton::clicked, this, &DxfOpenDialog::editTransform);
    connect(colorButton_, &QPushButton::clicked, this, &DxfOpenDialog::editColor);
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
    if (dialog.exec() == QDialog::Accepted)
        request_.transform = dialog.transform();
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
