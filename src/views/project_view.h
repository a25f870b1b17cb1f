#pragma once
/// The project window's view: the tree of the project's objects, scenery and
/// terrain (one 32 × 32 icon per kind) and the four buttons that act on the
/// selected item. It only shows the items it is given and reports what the
/// user asked for; the program does the rest through the document.

#include <QString>
#include <QWidget>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace kv::views {

class ProjectView final : public QWidget {
    Q_OBJECT
  public:
    /// One row of the tree: its kind (also its icon, 0..6) and its label.
    struct Row {
        int kind = 0;
        QString label;
    };

    explicit ProjectView(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {200, 300}; }

    /// Clears the tree and inserts one root item per row, in order.
    void setRows(const std::vector<Row>& rows);
    /// Index of the selected row, or -1.
    int selectedRow() const;
    void selectRow(int row);

    /// Keys other than Delete pressed in the tree go to `target` as key-downs.
    void setKeyTarget(QWidget* target) { keyTarget_ = target; }

    QTreeWidget* tree() const { return tree_; }
    QPushButton* saveAsButton() const { return saveAs_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* transformButton() const { return transform_; }
    QPushButton* colorButton() const { return color_; }

  signals:
    /// "Save As..." on `row`; `alt`: the Alt key was held.
    void saveAsRequested(int row, bool alt);
    /// "Delete" or the Delete key on `row`.
    void deleteRequested(int row);
    void transformRequested(int row);
    void colorRequested(int row);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTreeWidget* tree_ = nullptr;
    QPushButton* saveAs_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* transform_ = nullptr;
    QPushButton* color_ = nullptr;
    QWidget* keyTarget_ = nullptr;
};

/// The icon of kind `kind` (0 terrain, 1 static, 2 dynamic, 4 interactive,
/// 5 simulated object, 6 scenery), 32 × 32, drawn by our own code.
QPixmap projectIcon(int kind);

} // namespace kv::views
