#pragma once
/// The "Recovery" dialog: how often a changed project is copied to the
/// recovery folder between runs (the takes are kept at the end of every run
/// whatever is chosen here).

#include <QDialog>

class QSpinBox;

namespace kv::dialogs {

class RecoveryDialog final : public QDialog {
    Q_OBJECT
  public:
    /// Opens with `minutes` (0: no copies).
    explicit RecoveryDialog(int minutes, QWidget* parent = nullptr);

    /// The interval chosen (min; 0: no copies).
    int minutes() const;
    QSpinBox* interval() const { return interval_; }

  private:
    QSpinBox* interval_ = nullptr;
};

} // namespace kv::dialogs
