#pragma once
/// The project window's view. The project tree is built here once the project
/// view is in place; until then it is an empty white area.

#include <QWidget>

namespace kv::views {

class ProjectView final : public QWidget {
    Q_OBJECT
  public:
    explicit ProjectView(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {200, 300}; }
};

} // namespace kv::views
