#pragma once
/// The "Transform" dialog: edits one import transform of DXF geometry
/// (rotation, scale, translation, file units and file coordinate system).
/// Works on a copy; OK refuses while a scale factor is zero.

#include "app/settings/units.h"
#include "common/ports/messages.h"
#include "common/unit_constants.h"
#include "model/object_record.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace kv::dialogs {

/// The six file units offered, with their metres per file unit.
struct FileUnitChoice {
    const char* name;
    float metres;
};
inline constexpr std::array<FileUnitChoice, 6> kFileUnits{{{"m", 1.0f},
                                                           {"cm", 0.01f},
                                                           {"mm", 0.001f},
                                                           {"yd", 0.9144f},
                                                           {"ft", kMetresPerFoot},
                                                           {"in", 0.0254f}}};

class TransformDialog final : public QDialog {
    Q_OBJECT
  public:
    /// Translations are shown in the working length unit of `units`, the
    /// vertical one negated under "Up" with left-handed working axes.
    TransformDialog(const model::GeometryTransform& transform, const app::WorkingUnits& units,
                    MessagePort& messages, QWidget* parent = nullptr);

    /// The edited transform (valid after OK).
    const model::GeometryTransform& transform() const { return transform_; }

    void accept() override;

    /// Field order: yaw, pitch, roll, longitudinal, lateral, vertical, forward, right, vertical.
    QLineEdit* field(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
    QLabel* translateLabel(int axis) const {
        return translateLabels_.at(static_cast<std::size_t>(axis));
    }
    QButtonGroup* unitButtons() const { return fileUnits_; }
    QButtonGroup* handButtons() const { return hand_; }

  public slots:
    /// Right hand, metres, no rotation or translation, unit scale.
    void resetToDefaults();

  private:
    void showTransform(const model::GeometryTransform& t);

    model::GeometryTransform transform_;
    app::WorkingUnits units_;
    MessagePort& messages_;
    std::array<QLineEdit*, 9> fields_{};
    std::array<QLabel*, 3> translateLabels_{};
    QButtonGroup* fileUnits_ = nullptr;
    QButtonGroup* hand_ = nullptr;
};

} // namespace kv::dialogs
