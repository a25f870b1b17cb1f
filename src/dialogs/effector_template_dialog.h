#pragma once
/// The effector template dialogs ("Car Effector Template", ...): the
/// dimensions of the built-in vehicle's effectors beside a picture of it.
/// Works on a copy of the object; OK writes the dimensions into the copy
/// (see app::applyTemplateForm), "More" ends with kMore for the full editor.

#include "app/customize/effector_template_form.h"
#include "common/ports/messages.h"
#include "model/object_record.h"

#include <QDialog>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace kv::dialogs {

class EffectorTemplateDialog final : public QDialog {
    Q_OBJECT
  public:
    /// exec() result of "More": the full Effectors dialog is to open instead.
    static constexpr int kMore = 2;

    /// `object` must fit its vehicle type's template.
    EffectorTemplateDialog(const model::ObjectRecord& object, float lengthUnitFactor,
                           MessagePort& messages, QWidget* parent = nullptr);

    /// The object with the dimensions written (valid after OK).
    const model::ObjectRecord& object() const { return object_; }

    void accept() override;

    /// Field `index` in the form's order (app::CarTemplateField, ...).
    QLineEdit* field(int index) const { return fields_[static_cast<std::size_t>(index)]; }
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    /// Helicopter only (else null). Ids: app::HelicopterGear.
    QButtonGroup* gearButtons() const { return gear_; }
    QPushButton* moreButton() const { return more_; }

  private:
    void updateGearFields();

    model::ObjectRecord object_;
    float lengthUnitFactor_;
    MessagePort& messages_;
    app::TemplateForm form_;
    std::vector<QLineEdit*> fields_;
    QButtonGroup* gear_ = nullptr;
    QPushButton* more_ = nullptr;
};

} // namespace kv::dialogs
