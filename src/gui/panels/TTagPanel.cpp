#include "gui/panels/TTagPanel.h"

#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QScrollBar>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/app/GuiText.h"

namespace pelm {

namespace {

// The value cell's editor. Ctrl+Insert is the window's Insert command, not the
// line edit's Copy: the shortcut must reach the window while a value is typed.
class TValueEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(e);
            if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ControlModifier) {
                e->ignore();
                return true;
            }
        }
        return QLineEdit::event(e);
    }
};

// Only the value column is edited, and every keystroke is committed at once.
class TValueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        if (index.column() != 1) return nullptr;
        auto* edit = new TValueEdit(parent);
        edit->setFrame(false);
        // The grid's own context menu (the value commands), not the line edit's.
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        connect(edit, &QLineEdit::textEdited, this,
                [this, edit] { emit const_cast<TValueDelegate*>(this)->commitData(edit); });
        return edit;
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(16, size.height()));
        return size;
    }
};

}  // namespace

void TTagListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const QWidget* widget = option.widget;
    const QPalette& palette = widget ? widget->palette() : option.palette;
    painter->save();
    QFont font = option.font;
    if (text.startsWith(QLatin1Char('>'))) {
        painter->fillRect(option.rect, palette.brush(QPalette::Base));
        font.setBold(true);
        painter->setFont(font);
        painter->setPen(palette.color(QPalette::Text));
        painter->drawText(option.rect.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          text.mid(1));
    } else {
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(option.rect, palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setFont(font);
        painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(20, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    painter->restore();
}

QSize TTagListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    // 13 pixels, or the font's height where that is taller.
    QFont bold = option.font;
    bold.setBold(true);
    const int height = std::max(13, QFontMetrics(bold).height());
    return {QFontMetrics(bold).horizontalAdvance(index.data().toString()) + 24, height};
}

TValueGrid::TValueGrid(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setIndentation(0);
    setAllColumnsShowFocus(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Typing on a row edits its value; moving between rows does not open an editor.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Not a stop of the Tab key; commands put the focus here.
    setFocusPolicy(Qt::ClickFocus);
    setTabKeyNavigation(false);
    // The name column is 92 pixels, the value column takes the rest: the grid
    // never scrolls sideways.
    header()->setStretchLastSection(false);
    header()->setMinimumSectionSize(8);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);
    header()->setSectionResizeMode(1, QHeaderView::Stretch);
    setColumnWidth(0, 92);
    setItemDelegate(new TValueDelegate(this));
}

void TValueGrid::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* moving = currentItem();
    const int from = moving ? RowOf(moving) : -1;
    QTreeWidget::dropEvent(event);
    const int to = moving ? RowOf(moving) : -1;
    if (from >= 0 && to >= 0 && from != to) emit rowMoved(from, to);
}

TTagPanel::TTagPanel(TTagPanelModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("TTagPanel"));
    // 206 pixels wide; 290 high where the window has the room, the grid
    // giving way where it has not, so the panel never sets the window's height.
    setFixedWidth(206);
    setMinimumHeight(230);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    cmbTagName = new QComboBox(this);
    cmbTagName->setObjectName(QStringLiteral("cmbTagName"));
    cmbTagName->setMaxVisibleItems(20);
    // A drop-down list of 20 entries in every style (some styles otherwise
    // open a popup as tall as the screen).
    cmbTagName->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    cmbTagName->setItemDelegate(new TTagListDelegate(cmbTagName));
    layout->addWidget(cmbTagName);

    lblTagDescription = new QLabel(this);
    lblTagDescription->setObjectName(QStringLiteral("lblTagDescription"));
    lblTagDescription->setWordWrap(true);
    lblTagDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTagDescription->setFixedHeight(44);
    layout->addWidget(lblTagDescription);

    edtTagProp = new TValueGrid(this);
    edtTagProp->setObjectName(QStringLiteral("edtTagProp"));
    edtTagProp->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(edtTagProp, 1);

    auto* buttons = new QHBoxLayout;
    btnTagInsert = new QPushButton(QStringLiteral("Вставить"), this);
    btnTagInsert->setObjectName(QStringLiteral("btnTagInsert"));
    btnTagInsert->setToolTip(QStringLiteral("Вставить тег в страницу (Ctrl+Insert)"));
    btnTagHelp = new QToolButton(this);
    btnTagHelp->setObjectName(QStringLiteral("btnTagHelp"));
    btnTagHelp->setIcon(QIcon::fromTheme(QStringLiteral("help-contents"),
                                         QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion)));
    btnTagHelp->setToolTip(QStringLiteral("Справка по тегу [Ctrl+F1]"));
    buttons->addWidget(btnTagInsert, 1);
    buttons->addWidget(btnTagHelp);
    layout->addLayout(buttons);

    clTagYN = new QLabel(this);
    clTagYN->setObjectName(QStringLiteral("clTagYN"));
    clTagYN->hide();

    connect(cmbTagName, &QComboBox::activated, this, [this](int index) {
        if (!filling_ && index >= 0) emit tagChosen(index);
    });
    connect(edtTagProp, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (!filling_ && column == 1) model_.SetValue(edtTagProp->RowOf(item), ToCp1251(item->text(1)));
    });
    connect(edtTagProp, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_ && item) model_.SetCurrentRow(edtTagProp->RowOf(item));
    });
    // The grid has moved its row already; the model follows, and the moved
    // row is the current one.
    connect(edtTagProp, &TValueGrid::rowMoved, this, [this](int from, int to) {
        model_.MoveRow(from, to);
        filling_ = true;
        edtTagProp->setCurrentItem(edtTagProp->topLevelItem(to), 1);
        filling_ = false;
        model_.SetCurrentRow(to);
    });
    ShowRows();
}

void TTagPanel::ShowEntries() {
    filling_ = true;
    cmbTagName->clear();
    for (const std::string& entry : model_.Entries()) cmbTagName->addItem(FromCp1251(entry));
    cmbTagName->setCurrentIndex(model_.Chosen());
    filling_ = false;
}

void TTagPanel::ShowChoice() {
    filling_ = true;
    cmbTagName->setCurrentIndex(model_.Chosen());
    filling_ = false;
    lblTagDescription->setText(FromCp1251(model_.Description()));
    clTagYN->setText(FromCp1251(model_.CloseTag()));
    ShowRows();
}

void TTagPanel::ShowRows() {
    filling_ = true;
    edtTagProp->clear();
    for (const TTagRow& row : model_.Rows()) {
        auto* item = new QTreeWidgetItem(edtTagProp, {FromCp1251(row.Name), FromCp1251(row.Value)});
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    }
    if (QTreeWidgetItem* current = edtTagProp->topLevelItem(model_.CurrentRow()))
        edtTagProp->setCurrentItem(current, 1);
    edtTagProp->horizontalScrollBar()->setValue(0);
    filling_ = false;
}

void TTagPanel::FocusGrid() {
    if (QTreeWidgetItem* current = edtTagProp->topLevelItem(model_.CurrentRow()))
        edtTagProp->setCurrentItem(current, 1);
    edtTagProp->setFocus();
}

}  // namespace pelm
