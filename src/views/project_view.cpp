#include "views/project_view.h"

#include <QPalette>

namespace kv::views {

ProjectView::ProjectView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("projectView"));
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

} // namespace kv::views
