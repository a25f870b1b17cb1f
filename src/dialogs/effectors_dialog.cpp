#include "dialogs/effectors_dialog.h"

#include "app/customize/effector_driver_lists.h"
#include "dialogs/customize_form.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

/// Rows of the position grid in dialog order: Forward, Right, vertical, Yaw,
/// Pitch, Roll, as model::Dof indices.
constexpr std::array<int, 6> kRowDof{model::kDofForward, model::kDofRight, model::kDofDown,
                                     model::kDofYaw,     model::kDofPitch, model::kDofRoll};
constexpr std::array<const char*, 6> kDofWord{"Forward", "Right", "Vertical",
                                              "Roll",    "Pitch", "Yaw"};

QLineEdit* makeField(QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setAlignment(Qt::AlignRight);
    f->setMinimumWidth(80);
    f->setMaximumWidth(110);
    return f;
}

} // namespace

EffectorsDialog::EffectorsDialog(const model::ObjectRecord& object, const app::WorkingUnits& units,
                                 int selected, int relativeMode, MessagePort& messages,
                                 QWidget* parent)
    : QDialog(parent), editor_(object, units, selected, relativeMode), messages_(messages) {
    setWindowTitle(QStringLiteral("Effectors"));
    setObjectName(QStringLiteral("effectorsDialog"));
    const app::EffectorLabels& labels = editor_.labels();

    tree_ = new QTreeWidget(this);
    tree_->setHeaderHidden(true);
    tree_->setAccessibleName(QStringLiteral("Effectors"));
    tree_->setMinimumWidth(200);
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);

    auto* kindBox = new QGroupBox(QStringLiteral("Kind"), this);
    auto* kindRow = new QHBoxLayout(kindBox);
    kinds_ = new QButtonGroup(this);
    for (const app::EffectorKindChoice& k : app::kEffectorKinds) {
        auto* b = new QRadioButton(toQString(k.text), kindBox);
        kinds_->addButton(b, k.kind);
        kindRow->addWidget(b);
    }

    auto* sizes = new QGridLayout;
    name_ = addFieldRow(sizes, 0, QStringLiteral("Name"), QString(), this);
    name_->setAlignment(Qt::AlignLeft);
    name_->setMaxLength(model::kMaxNameLength);
    radius_ = addFieldRow(sizes, 1, toQString(labels.radius), QString(), this);
    width_ = addFieldRow(sizes, 2, toQString(labels.width), QString(), this);

    auto* dofBox = new QGroupBox(QStringLiteral("Position and Drivers"), this);
    auto* grid = new QGridLayout(dofBox);
    grid->addWidget(new QLabel(QStringLiteral("Offset"), dofBox), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Driver"), dofBox), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Scale"), dofBox), 0, 3);
    for (int row = 0; row < 6; ++row) {
        const int dof = kRowDof[static_cast<std::size_t>(row)];
        const QString label = dof <= model::kDofDown
                                  ? toQString(labels.position[static_cast<std::size_t>(dof)])
                                  : QString::fromLatin1(kDofWord[static_cast<std::size_t>(dof)]) +
                                        QStringLiteral(" (deg)");
        const QString word = dof <= model::kDofDown
                                 ? label.section(QLatin1Char(' '), 0, 0)
                                 : QString::fromLatin1(kDofWord[static_cast<std::size_t>(dof)]);
        auto* caption = new QLabel(label, dofBox);
        QLineEdit* value = makeField(dofBox);
        value->setAccessibleName(label);
        caption->setBuddy(value);
        if (dof <= model::kDofDown)
            position_[static_cast<std::size_t>(dof)] = value;
        else
            angles_[static_cast<std::size_t>(dof - 3)] = value;
        auto* list = new QComboBox(dofBox);
        for (const app::DriverChoice& c : app::driverChoices(dof))
            list->addItem(toQString(c.text));
        list->setAccessibleName(word + QStringLiteral(" Driver"));
        drivers_[static_cast<std::size_t>(dof)] = list;
        QLineEdit* scale = makeField(dofBox);
        scale->setAccessibleName(word + QStringLiteral(" Scale"));
        scales_[static_cast<std::size_t>(dof)] = scale;
        grid->addWidget(caption, row + 1, 0);
        grid->addWidget(value, row + 1, 1);
        grid->addWidget(list, row + 1, 2);
        grid->addWidget(scale, row + 1, 3);
        connect(list, &QComboBox::currentIndexChanged, this, [this, dof] {
            if (showing_)
                return;
            editor_.driverChanged(fields(), dof);
            showFields();
        });
    }

    auto* modeBox = new QGroupBox(QStringLiteral("Coordinates"), this);
    auto* modeRow = new QHBoxLayout(modeBox);
    modes_ = new QButtonGroup(this);
    auto* absolute = new QRadioButton(QStringLiteral("Absolute"), modeBox);
    auto* relative = new QRadioButton(QStringLiteral("Relative to Parent"), modeBox);
    modes_->addButton(absolute, 0);
    modes_->addButton(relative, 1);
    modeRow->addWidget(absolute);
    modeRow->addWidget(relative);

    status_ = new QLabel(this);
    status_->setAccessibleName(QStringLiteral("Status"));
    status_->setMinimumHeight(status_->fontMetrics().height());

    auto* buttonRow = new QGridLayout;
    const char* texts[] = {"OK",   "Cancel", "Less",   "Copy",  "Clear",
                           "Link", "New",    "Delete", "Unlink"};
    for (int i = 0; i < 9; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(texts[i]), this);
        b->setAutoDefault(false);
        buttons_.push_back(b);
        buttonRow->addWidget(b, i / 3, i % 3);
    }
    button(QStringLiteral("OK"))->setDefault(true);

    connect(button(QStringLiteral("OK")), &QPushButton::clicked, this, &EffectorsDialog::accept);
    connect(button(QStringLiteral("Cancel")), &QPushButton::clicked, this,
            &EffectorsDialog::reject);
    connect(button(QStringLiteral("Less")), &QPushButton::clicked, this, [this] {
        if (auto refusal = editor_.less(fields())) {
            afterEdit(refusal, false);
            return;
        }
        done(kLess);
    });
    connect(button(QStringLiteral("New")), &QPushButton::clicked, this,
            [this] { afterEdit(editor_.newEffector(fields())); });
    connect(button(QStringLiteral("Copy")), &QPushButton::clicked, this,
            [this] { afterEdit(editor_.copySelected(fields())); });
    connect(button(QStringLiteral("Clear")), &QPushButton::clicked, this, [this] {
        editor_.clearSelected(fields());
        afterEdit(std::nullopt);
    });
    connect(button(QStringLiteral("Delete")), &QPushButton::clicked, this,
            [this] { afterEdit(editor_.deleteSelected(fields())); });
    connect(button(QStringLiteral("Unlink")), &QPushButton::clicked, this,
            [this] { afterEdit(editor_.unlinkSelected(fields())); });
    connect(button(QStringLiteral("Link")), &QPushButton::clicked, this, [this] {
        editor_.startLink(fields());
        afterEdit(std::nullopt, false);
        tree_->setFocus();
    });
    connect(kinds_, &QButtonGroup::idClicked, this, [this](int kind) {
        editor_.setKind(fields(), kind);
        renameItems();
        showFields();
    });
    connect(modes_, &QButtonGroup::idClicked, this, [this](int mode) {
        editor_.setRelativeMode(fields(), mode);
        showFields();
    });
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { treeSelectionChanged(item); });
    // Every item stays expanded.
    connect(tree_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { tree_->expandItem(item); });

    auto* fieldsColumn = new QVBoxLayout;
    fieldsColumn->addWidget(kindBox);
    fieldsColumn->addLayout(sizes);
    fieldsColumn->addWidget(dofBox);
    fieldsColumn->addWidget(modeBox);
    auto* top = new QHBoxLayout;
    top->addWidget(tree_, 1);
    top->addLayout(fieldsColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(status_);
    layout->addLayout(buttonRow);

    rebuildTree();
    showFields();
}

QPushButton* EffectorsDialog::button(const QString& text) const {
    for (QPushButton* b : buttons_) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QTreeWidgetItem* EffectorsDialog::itemOf(int index) const {
    QTreeWidgetItemIterator it(tree_);
    for (; *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toInt() == index)
            return *it;
    }
    return nullptr;
}

app::EffectorFields EffectorsDialog::fields() const {
    app::EffectorFields f;
    f.kind = kinds_->checkedId() >= 0 ? kinds_->checkedId() : editor_.shown().kind;
    f.name = fieldText(name_);
    f.radius = fieldText(radius_);
    f.width = fieldText(width_);
    for (std::size_t a = 0; a < 3; ++a) {
        f.position[a] = fieldText(position_[a]);
        f.angles[a] = fieldText(angles_[a]);
    }
    for (std::size_t d = 0; d < 6; ++d) {
        f.drivers[d] = drivers_[d]->currentIndex();
        f.scales[d] = fieldText(scales_[d]);
    }
    f.enabled = editor_.shown().enabled;
    return f;
}

void EffectorsDialog::showFields() {
    showing_ = true;
    const app::EffectorFields& f = editor_.shown();
    if (QAbstractButton* b = kinds_->button(f.kind); b != nullptr && editor_.selected() >= 0)
        b->setChecked(true);
    name_->setText(toQString(f.name));
    radius_->setText(toQString(f.radius));
    width_->setText(toQString(f.width));
    for (std::size_t a = 0; a < 3; ++a) {
        position_[a]->setText(toQString(f.position[a]));
        angles_[a]->setText(toQString(f.angles[a]));
    }
    for (std::size_t d = 0; d < 6; ++d) {
        drivers_[d]->setCurrentIndex(f.drivers[d]);
        scales_[d]->setText(toQString(f.scales[d]));
    }
    QList<QWidget*> fieldWidgets{name_, radius_, width_};
    for (std::size_t a = 0; a < 3; ++a)
        fieldWidgets << position_[a] << angles_[a];
    for (std::size_t d = 0; d < 6; ++d)
        fieldWidgets << drivers_[d] << scales_[d];
    for (QWidget* w : fieldWidgets)
        w->setEnabled(f.enabled);
    for (QAbstractButton* b : kinds_->buttons())
        b->setEnabled(editor_.selected() >= 0);
    if (QAbstractButton* b = modes_->button(editor_.relativeMode()))
        b->setChecked(true);
    status_->setText(toQString(editor_.status()));
    showing_ = false;
}

void EffectorsDialog::rebuildTree() {
    showing_ = true;
    tree_->clear();
    std::vector<QTreeWidgetItem*> path;
    QTreeWidgetItem* current = nullptr;
    for (const app::EffectorTreeRow& row : editor_.treeRows()) {
        path.resize(static_cast<std::size_t>(row.depth));
        QTreeWidgetItem* item =
            path.empty() ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(path.back());
        item->setText(0, toQString(editor_.effectorName(row.effector)));
        item->setData(0, Qt::UserRole, row.effector);
        path.push_back(item);
        if (row.effector == editor_.selected())
            current = item;
    }
    tree_->expandAll();
    tree_->setCurrentItem(current);
    showing_ = false;
}

void EffectorsDialog::renameItems() {
    QTreeWidgetItemIterator it(tree_);
    for (; *it != nullptr; ++it)
        (*it)->setText(0, toQString(editor_.effectorName((*it)->data(0, Qt::UserRole).toInt())));
}

void EffectorsDialog::treeSelectionChanged(QTreeWidgetItem* item) {
    if (showing_ || item == nullptr)
        return;
    const int index = item->data(0, Qt::UserRole).toInt();
    if (editor_.linking()) {
        const auto refusal = editor_.finishLink(index);
        // The tree is rebuilt once the selection change is over.
        QTimer::singleShot(0, this, [this, refusal] { afterEdit(refusal); });
        return;
    }
    editor_.select(fields(), index);
    renameItems();
    showFields();
}

void EffectorsDialog::afterEdit(const std::optional<std::string>& refusal, bool rebuild) {
    if (rebuild)
        rebuildTree();
    showFields();
    if (refusal)
        messages_.showMessage(*refusal);
}

void EffectorsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && editor_.linking()) {
        editor_.cancelLink();
        showFields();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void EffectorsDialog::accept() {
    if (const auto refusal = editor_.accept(fields())) {
        rebuildTree();
        showFields();
        messages_.showMessage(*refusal);
        return;
    }
    QDialog::accept();
}

} // namespace kv::dialogs
