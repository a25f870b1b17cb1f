#pragma once
/// The "Effectors" dialog: the simulated object's effector tree with the
/// fields of the selected effector, the structural buttons and link mode.
/// Works on the working copy of app::EffectorEditor; OK succeeds only when the
/// structural rules hold, "Less" ends the dialog with kLess when the effectors
/// still fit the vehicle's template dialog.

#include "app/customize/effector_editor.h"
#include "common/ports/messages.h"
#include "model/object_record.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv::dialogs {

class EffectorsDialog final : public QDialog {
    Q_OBJECT
  public:
    /// exec() result of "Less": the template dialog is to open instead.
    static constexpr int kLess = 2;

    EffectorsDialog(const model::ObjectRecord& object, const app::WorkingUnits& units, int selected,
                    int relativeMode, MessagePort& messages, QWidget* parent = nullptr);

    /// The working copy, the selection and the view (to keep after OK).
    const app::EffectorEditor& editor() const { return editor_; }

    void accept() override;

    QTreeWidget* tree() const { return tree_; }
    /// Ids: the effector kind codes.
    QButtonGroup* kindButtons() const { return kinds_; }
    /// Ids: 0 "Absolute", 1 "Relative to Parent".
    QButtonGroup* modeButtons() const { return modes_; }
    QLineEdit* nameField() const { return name_; }
    QLineEdit* radiusField() const { return radius_; }
    QLineEdit* widthField() const { return width_; }
    /// Forward, right, vertical.
    QLineEdit* positionField(int axis) const { return position_[static_cast<std::size_t>(axis)]; }
    /// Roll, pitch, yaw (model::Dof order minus 3).
    QLineEdit* angleField(int axis) const { return angles_[static_cast<std::size_t>(axis)]; }
    QComboBox* driverList(int dof) const { return drivers_[static_cast<std::size_t>(dof)]; }
    QLineEdit* scaleField(int dof) const { return scales_[static_cast<std::size_t>(dof)]; }
    QLabel* statusText() const { return status_; }
    /// One of "OK", "Cancel", "Less", "Copy", "Clear", "Link", "New", "Delete", "Unlink".
    QPushButton* button(const QString& text) const;
    /// The tree item of effector `index`, or null.
    QTreeWidgetItem* itemOf(int index) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    app::EffectorFields fields() const;
    void showFields();
    void rebuildTree();
    void renameItems();
    void treeSelectionChanged(QTreeWidgetItem* item);
    /// Shows a refusal (if any), then the tree and the fields.
    void afterEdit(const std::optional<std::string>& refusal, bool rebuild = true);

    app::EffectorEditor editor_;
    MessagePort& messages_;
    QTreeWidget* tree_ = nullptr;
    QButtonGroup* kinds_ = nullptr;
    QButtonGroup* modes_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* radius_ = nullptr;
    QLineEdit* width_ = nullptr;
    std::array<QLineEdit*, 3> position_{};
    std::array<QLineEdit*, 3> angles_{};
    std::array<QComboBox*, 6> drivers_{};
    std::array<QLineEdit*, 6> scales_{};
    QLabel* status_ = nullptr;
    std::vector<QPushButton*> buttons_;
    bool showing_ = false; ///< widgets are being filled: their signals are no edits
};

} // namespace kv::dialogs
