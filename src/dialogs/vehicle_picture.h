#pragma once
/// The picture behind an effector template dialog: a plan and a side view of
/// the vehicle drawn with QPainter, with the dialog's dimensions marked on it
/// and the length unit's long name ("Lengths in meters").

#include <QWidget>

namespace kv::dialogs {

class VehiclePicture final : public QWidget {
    Q_OBJECT
  public:
    /// `vehicleType`: model::VehicleType 0..3; `unitName`: "meters", ...
    VehiclePicture(int vehicleType, const QString& unitName, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {380, vehicleType_ == 3 ? 530 : 320}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int vehicleType_;
    QString unitName_;
};

} // namespace kv::dialogs
