#pragma once
// The tag insertion panel's controls: the owner-drawn tag list cmbTagName, the
// description, the value grid edtTagProp, the Insert and Help buttons and the
// hidden closing-tag label. The panel shows the state of a TTagPanelModel and
// writes the user's edits of the grid back into it at once (a value counts
// while it is still being typed); the commands live in TTagController.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>

#include "core/authoring/TTagPanelModel.h"

class QMenu;

namespace pelm {

// Draws the tag list: group headers bold at 5 pixels on the list's own
// background (never looking chosen), tags at 20 pixels.
class TTagListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The value grid: names fixed, values editable, rows draggable to another place.
class TValueGrid : public QTreeWidget {
    Q_OBJECT
public:
    explicit TValueGrid(QWidget* parent = nullptr);
    // The row of each item in order, and the value column's editor, if open.
    int RowOf(QTreeWidgetItem* item) const { return indexOfTopLevelItem(item); }
signals:
    void rowMoved(int from, int to);

protected:
    void dropEvent(QDropEvent* event) override;
};

class TTagPanel : public QWidget {
    Q_OBJECT
public:
    TTagPanel(TTagPanelModel& model, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {206, 290}; }

    // The list's entries as the model holds them, keeping the chosen one.
    void ShowEntries();
    // The chosen entry, description, rows, current row and closing-tag text.
    void ShowChoice();
    void ShowRows();
    // Puts the keyboard focus into the grid on its current row's value.
    void FocusGrid();

    QComboBox* cmbTagName = nullptr;
    QLabel* lblTagDescription = nullptr;
    TValueGrid* edtTagProp = nullptr;
    QPushButton* btnTagInsert = nullptr;
    QToolButton* btnTagHelp = nullptr;
    QLabel* clTagYN = nullptr;

signals:
    // The user picked entry index of the list (mouse or keyboard).
    void tagChosen(int index);

private:
    TTagPanelModel& model_;
    bool filling_ = false;
};

}  // namespace pelm
