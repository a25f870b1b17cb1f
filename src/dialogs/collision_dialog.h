#pragma once
/// The "Collisions" dialog: spring strength, bounce and friction of the
/// simulated object and of the interactive object it can collide with.

#include "app/customize/collision_form.h"
#include "common/ports/messages.h"
#include "model/object_record.h"

#include <QDialog>
#include <array>
#include <optional>

class QGroupBox;
class QLineEdit;
class QSlider;

namespace kv::dialogs {

class SliderLink;

class CollisionDialog final : public QDialog {
    Q_OBJECT
  public:
    /// `partner`: the first interactive object after the simulated one, or null.
    CollisionDialog(const model::ObjectRecord& simulated, const model::ObjectRecord* partner,
                    MessagePort& messages, QWidget* parent = nullptr);

    /// The edited objects (valid after OK); the partner only when its group was enabled.
    const model::ObjectRecord& simulated() const { return simulated_; }
    const std::optional<model::ObjectRecord>& partner() const { return partner_; }

    void accept() override;

    /// Fields and sliders by app::CollisionField + 0..2 (spring, bounce, friction).
    QLineEdit* field(int index) const;
    QSlider* slider(int index) const;
    QGroupBox* interactiveGroup() const { return interactiveGroup_; }

  private:
    model::ObjectRecord simulated_;
    std::optional<model::ObjectRecord> partner_;
    MessagePort& messages_;
    app::CollisionForm shown_;
    std::array<SliderLink*, 6> links_{};
    QGroupBox* interactiveGroup_ = nullptr;
};

} // namespace kv::dialogs
