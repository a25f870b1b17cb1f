#pragma once
/// The "Engine" dialog: one button per engine type and the "Power" field,
/// which remembers what was typed for each type while the dialog is open.

#include "app/customize/engine_form.h"
#include "common/ports/messages.h"
#include "model/object_record.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace kv::dialogs {

class EngineDialog final : public QDialog {
    Q_OBJECT
  public:
    EngineDialog(const model::ObjectRecord& object, std::int32_t englishForceUnits,
                 MessagePort& messages, QWidget* parent = nullptr);

    /// The edited engine fields (valid after OK).
    std::int32_t engineType() const { return record_.engineType; }
    float enginePower() const { return record_.enginePower; }
    float engineScale() const { return record_.engineScale; }

    void accept() override;

    /// Ids: the engineType codes.
    QButtonGroup* engineButtons() const { return engines_; }
    QLineEdit* powerField() const { return power_; }

  private:
    void choose(int type);

    model::ObjectRecord record_;
    app::EngineModel model_;
    MessagePort& messages_;
    QButtonGroup* engines_ = nullptr;
    QLineEdit* power_ = nullptr;
};

} // namespace kv::dialogs
