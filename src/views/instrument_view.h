#pragma once
/// The instrument panel's view: a fixed 400 × 300 client area. The gauges are
/// drawn here once the panel is in place; until then it shows an empty panel.

#include <QWidget>

namespace kv::views {

class InstrumentView final : public QWidget {
    Q_OBJECT
  public:
    explicit InstrumentView(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {400, 300}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kv::views
