#include "dialogs/collision_dialog.h"

#include "dialogs/customize_form.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

namespace kv::dialogs {

namespace {

app::CollisionFields fieldsOf(const std::array<SliderLink*, 6>& links, int first) {
    const auto text = [&](int i) {
        return fieldText(links[static_cast<std::size_t>(first + i)]->field());
    };
    return {text(0), text(1), text(2)};
}

} // namespace

CollisionDialog::CollisionDialog(const model::ObjectRecord& simulated,
                                 const model::ObjectRecord* partner, MessagePort& messages,
                                 QWidget* parent)
    : QDialog(parent), simulated_(simulated), messages_(messages),
      shown_(app::collisionFormFor(simulated, partner)) {
    setWindowTitle(QStringLiteral("Collisions"));
    setObjectName(QStringLiteral("collisionDialog"));
    if (partner != nullptr && shown_.interactiveEnabled)
        partner_ = *partner;

    const auto group = [this](std::string_view title, const app::CollisionFields& values,
                              int first) {
        auto* box = new QGroupBox(toQString(title), this);
        auto* grid = new QGridLayout(box);
        const std::string* texts[] = {&values.spring, &values.bounce, &values.friction};
        for (int i = 0; i < 3; ++i) {
            links_[static_cast<std::size_t>(first + i)] =
                addSliderRow(grid, i, toQString(app::kCollisionLabels[static_cast<std::size_t>(i)]),
                             0, app::kCollisionPercentMax, toQString(*texts[i]), box);
        }
        return box;
    };
    auto* own = group(app::kSimulatedObjectGroup, shown_.simulated, app::kCollisionSimulatedField);
    interactiveGroup_ =
        group(app::kInteractiveObjectGroup, shown_.interactive, app::kCollisionInteractiveField);
    interactiveGroup_->setEnabled(shown_.interactiveEnabled);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CollisionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CollisionDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(own);
    layout->addWidget(interactiveGroup_);
    layout->addWidget(buttons);
}

QLineEdit* CollisionDialog::field(int index) const {
    return links_.at(static_cast<std::size_t>(index))->field();
}

QSlider* CollisionDialog::slider(int index) const {
    return links_.at(static_cast<std::size_t>(index))->slider();
}

void CollisionDialog::accept() {
    app::CollisionForm edited = shown_;
    edited.simulated = fieldsOf(links_, app::kCollisionSimulatedField);
    if (shown_.interactiveEnabled)
        edited.interactive = fieldsOf(links_, app::kCollisionInteractiveField);
    model::ObjectRecord own = simulated_;
    std::optional<model::ObjectRecord> other = partner_;
    if (const auto refusal =
            app::applyCollisionForm(shown_, edited, own, other ? &*other : nullptr)) {
        showRefusal(messages_, *refusal, refusal->field >= 0 ? field(refusal->field) : nullptr);
        return;
    }
    simulated_ = own;
    partner_ = other;
    QDialog::accept();
}

} // namespace kv::dialogs
