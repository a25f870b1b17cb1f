#include "views/project_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>

namespace kv::views {

namespace {

constexpr int kIconSize = 32;

/// A small car seen from the side, in `body` colour.
void car(QPainter& p, QColor body) {
    QPainterPath shape;
    shape.moveTo(2, 22);
    shape.lineTo(2, 16);
    shape.lineTo(8, 15);
    shape.lineTo(12, 9);
    shape.lineTo(22, 9);
    shape.lineTo(26, 15);
    shape.lineTo(30, 16);
    shape.lineTo(30, 22);
    shape.closeSubpath();
    p.setPen(QPen(body.darker(170), 1));
    p.setBrush(body);
    p.drawPath(shape);
    p.setBrush(QColor(190, 225, 250));
    p.drawRect(QRectF(13, 11, 4, 4));
    p.drawRect(QRectF(18, 11, 4, 4));
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(9, 23), 3.5, 3.5);
    p.drawEllipse(QPointF(23, 23), 3.5, 3.5);
}

} // namespace

QPixmap projectIcon(int kind) {
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case 0: { // terrain: hills under a grid line
        QPainterPath hills;
        hills.moveTo(1, 28);
        hills.cubicTo(6, 10, 12, 10, 17, 20);
        hills.cubicTo(21, 12, 27, 12, 31, 24);
        hills.lineTo(31, 30);
        hills.lineTo(1, 30);
        hills.closeSubpath();
        p.setPen(QPen(QColor(40, 100, 30), 1));
        p.setBrush(QColor(90, 170, 60));
        p.drawPath(hills);
        p.setPen(QPen(QColor(40, 100, 30), 1, Qt::DotLine));
        p.drawLine(1, 25, 31, 25);
        break;
    }
    case 1: { // static object: a crate
        p.setPen(QPen(QColor(90, 60, 20), 1));
        p.setBrush(QColor(200, 150, 80));
        p.drawRect(QRectF(6, 10, 18, 18));
        QPolygonF top{{6, 10}, {12, 4}, {30, 4}, {24, 10}};
        p.setBrush(QColor(225, 180, 110));
        p.drawPolygon(top);
        QPolygonF side{{24, 10}, {30, 4}, {30, 22}, {24, 28}};
        p.setBrush(QColor(170, 120, 60));
        p.drawPolygon(side);
        break;
    }
    case 2: // dynamic object: a grey car with motion lines
        car(p, QColor(150, 150, 160));
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.drawLine(QPointF(0, 5), QPointF(9, 5));
        p.drawLine(QPointF(0, 9), QPointF(6, 9));
        break;
    case 4: // interactive object: a blue car
        car(p, QColor(60, 110, 220));
        break;
    case 5: // the simulated object: a red car with a controller mark
        car(p, QColor(215, 45, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 200, 40));
        p.drawEllipse(QPointF(26, 5), 4, 4);
        break;
    case 6: { // scenery: a tree beside a house
        p.setPen(QPen(QColor(90, 40, 20), 1));
        p.setBrush(QColor(200, 80, 50));
        QPolygonF roof{{14, 14}, {22, 6}, {30, 14}};
        p.drawPolygon(roof);
        p.setBrush(QColor(235, 225, 200));
        p.drawRect(QRectF(16, 14, 12, 14));
        p.setBrush(QColor(110, 70, 30));
        p.drawRect(QRectF(6, 20, 3, 8));
        p.setPen(QPen(QColor(30, 90, 30), 1));
        p.setBrush(QColor(60, 150, 60));
        p.drawEllipse(QPointF(7.5, 14), 6, 8);
        break;
    }
    default:
        break;
    }
    return pm;
}

ProjectView::ProjectView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("projectView"));
    setAccessibleName(QStringLiteral("Project"));
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("projectTree"));
    tree_->setAccessibleName(QStringLiteral("Project items"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setIconSize(QSize(kIconSize, kIconSize));
    tree_->installEventFilter(this);
    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(text);
        b->setAutoDefault(false);
        return b;
    };
    saveAs_ = button(QStringLiteral("Save As..."), "saveAsButton");
    transform_ = button(QStringLiteral("Transform..."), "transformButton");
    delete_ = button(QStringLiteral("Delete"), "deleteButton");
    color_ = button(QStringLiteral("Color..."), "colorButton");
    connect(saveAs_, &QPushButton::clicked, this, [this] {
        const bool alt = QApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier);
        if (selectedRow() >= 0)
            emit saveAsRequested(selectedRow(), alt);
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        if (selectedRow() >= 0)
            emit deleteRequested(selectedRow());
    });
    connect(transform_, &QPushButton::clicked, this, [this] {
        if (selectedRow() >= 0)
            emit transformRequested(selectedRow());
    });
    connect(color_, &QPushButton::clicked, this, [this] {
        if (selectedRow() >= 0)
            emit colorRequested(selectedRow());
    });
    setTabOrder(tree_, saveAs_);
    setTabOrder(saveAs_, transform_);
    setTabOrder(transform_, delete_);
    setTabOrder(delete_, color_);
    resize(200, 300);
}

void ProjectView::setRows(const std::vector<Row>& rows) {
    tree_->clear();
    for (const Row& r : rows) {
        auto* item = new QTreeWidgetItem(tree_, QStringList{r.label});
        item->setIcon(0, QIcon(projectIcon(r.kind)));
        item->setData(0, Qt::UserRole, r.kind);
    }
}

int ProjectView::selectedRow() const {
    const QList<QTreeWidgetItem*> items = tree_->selectedItems();
    if (items.isEmpty())
        return -1;
    return tree_->indexOfTopLevelItem(items.front());
}

void ProjectView::selectRow(int row) {
    if (QTreeWidgetItem* item = tree_->topLevelItem(row)) {
        tree_->setCurrentItem(item);
        item->setSelected(true);
    }
}

void ProjectView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    saveAs_->setGeometry(10, h - 68, 75, 24);
    transform_->setGeometry(95, h - 68, 75, 24);
    delete_->setGeometry(10, h - 34, 75, 24);
    color_->setGeometry(95, h - 34, 75, 24);
    tree_->setGeometry(10, 10, std::max(0, w - 20), std::max(0, h - 88));
}

bool ProjectView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != tree_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete) {
        if (selectedRow() >= 0)
            emit deleteRequested(selectedRow());
        return true;
    }
    // Moving through the tree stays with the tree: these keys mean nothing to
    // the camera view outside a run, and the list must be usable by keyboard.
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QWidget::eventFilter(watched, event);
    default:
        break;
    }
    if (keyTarget_ == nullptr)
        return QWidget::eventFilter(watched, event);
    // The camera and run keys work while the tree has the focus.
    QCoreApplication::postEvent(keyTarget_,
                                new QKeyEvent(QEvent::KeyPress, key->key(), key->modifiers(),
                                              key->nativeScanCode(), key->nativeVirtualKey(),
                                              key->nativeModifiers(), key->text(),
                                              key->isAutoRepeat(), key->count()));
    return true;
}

} // namespace kv::views
