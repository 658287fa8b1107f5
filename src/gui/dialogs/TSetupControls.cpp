#include "gui/dialogs/TSetupControls.h"

#include <QColorDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QPixmap>

namespace pelm {

// ---------------------------------------------------------------- number field

TNumberField::TNumberField(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setAccelerated(false);
}

QString TNumberField::Text() const { return lineEdit()->text(); }

void TNumberField::SetText(const QString& text) {
    lineEdit()->setText(text);
    update();
}

QValidator::State TNumberField::validate(QString& input, int&) const {
    for (const QChar c : input)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return QValidator::Invalid;
    return QValidator::Acceptable;
}

void TNumberField::stepBy(int steps) {
    bool ok = false;
    int value = Text().toInt(&ok);
    if (!ok) value = 0;
    value = std::clamp(value + steps, ArrowMin, ArrowMax);
    SetValue(value);
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TNumberField::stepEnabled() const {
    bool ok = false;
    const int value = Text().toInt(&ok);
    if (!ok) return StepUpEnabled;
    StepEnabled e = StepNone;
    if (value < ArrowMax) e |= StepUpEnabled;
    if (value > ArrowMin) e |= StepDownEnabled;
    return e;
}

// ---------------------------------------------------------------- colour list

namespace {

struct NamedColor {
    const char* name;
    uint32_t value;  // 0x00BBGGRR
};

// The standard sixteen colours, then the extended ones.
const NamedColor kColors[] = {
    {"Black", 0x000000},     {"Maroon", 0x000080},  {"Green", 0x008000},  {"Olive", 0x008080},
    {"Navy", 0x800000},      {"Purple", 0x800080},  {"Teal", 0x808000},   {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},    {"Red", 0x0000FF},     {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},      {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF},
    {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xF0CAA6}, {"Cream", 0xF0FBFF}, {"Medium Gray", 0xA4A0A0},
};

QColor ToQColor(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

uint32_t FromQColor(const QColor& c) {
    return static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8) |
           (static_cast<uint32_t>(c.blue()) << 16);
}

QIcon Swatch(uint32_t color, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size - 1, size - 1);
    return QIcon(pixmap);
}

}  // namespace

TColorList::TColorList(QWidget* parent) : QComboBox(parent) {
    const int size = fontMetrics().height() - 2;
    setIconSize(QSize(size, size));
    addItem(Swatch(0xFFFFFF, size), QStringLiteral("Custom..."), 0xFFFFFFu);
    for (const NamedColor& c : kColors) addItem(Swatch(c.value, size), QString::fromLatin1(c.name), c.value);
    AskColor = [this](uint32_t& color) {
        const QColor chosen = QColorDialog::getColor(ToQColor(color), this);
        if (!chosen.isValid()) return false;
        color = FromQColor(chosen);
        return true;
    };
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        if (index == 0) {
            uint32_t color = itemData(0).toUInt();
            if (AskColor && AskColor(color)) {
                setCustom(color);
            } else {
                setCurrentIndex(previous_);
                return;
            }
        }
        previous_ = currentIndex();
    });
}

uint32_t TColorList::Selected() const { return currentIndex() < 0 ? 0 : itemData(currentIndex()).toUInt(); }

void TColorList::Select(uint32_t color) {
    for (int i = 1; i < count(); ++i)
        if (itemData(i).toUInt() == color) {
            setCurrentIndex(i);
            previous_ = i;
            return;
        }
    setCustom(color);
    setCurrentIndex(0);
    previous_ = 0;
}

void TColorList::setCustom(uint32_t color) {
    setItemData(0, color);
    setItemIcon(0, Swatch(color, iconSize().width()));
}

// ---------------------------------------------------------------- pair grid

TPairGrid::TPairGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setColumnWidth(0, 170);
    setColumnWidth(1, 170);
    // 16 pixels a row, or more when the font needs it.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(std::max(16, fontMetrics().height() + 4));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    ensureOneRow();
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!busy_ && item->column() == 0) checkUnique(item->row());
    });
}

QString TPairGrid::Name(int row) const {
    const QTableWidgetItem* i = item(row, 0);
    return i ? i->text() : QString();
}

QString TPairGrid::Value(int row) const {
    const QTableWidgetItem* i = item(row, 1);
    return i ? i->text() : QString();
}

void TPairGrid::SetRow(int row, const QString& name, const QString& value) {
    busy_ = true;
    setItem(row, 0, new QTableWidgetItem(name));
    setItem(row, 1, new QTableWidgetItem(value));
    busy_ = false;
    if (row == currentRow()) rememberRow(row);
}

void TPairGrid::SetPairs(const std::vector<std::string>& pairs) {
    busy_ = true;
    setRowCount(0);
    busy_ = false;
    for (const std::string& pair : pairs) {
        const QString text = QString::fromStdString(pair);
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        const int row = rowCount();
        insertRow(row);
        SetRow(row, eq < 0 ? text : text.left(eq), eq < 0 ? QString() : text.mid(eq + 1));
    }
    ensureOneRow();
    setCurrentCell(0, 0);
    rememberRow(0);
}

QString TPairGrid::ValueOf(const QString& name) const {
    for (int r = 0; r < rowCount(); ++r)
        if (Name(r).compare(name, Qt::CaseInsensitive) == 0) return Value(r);
    return {};
}

void TPairGrid::insertEmptyRow(int row) {
    busy_ = true;
    insertRow(row);
    setItem(row, 0, new QTableWidgetItem());
    setItem(row, 1, new QTableWidgetItem());
    busy_ = false;
}

void TPairGrid::ensureOneRow() {
    if (rowCount() == 0) insertEmptyRow(0);
}

void TPairGrid::AddRow(const QString& value) {
    int row = currentRow();
    if (row < 0) row = 0;
    if (row < rowCount() && rowEmpty(row)) {
        if (!value.isEmpty()) SetRow(row, QString(), value);
    } else {
        insertEmptyRow(row);
        if (!value.isEmpty()) SetRow(row, QString(), value);
    }
    setCurrentCell(row, 0);
    rememberRow(row);
    setFocus();
}

void TPairGrid::DeleteRow() {
    int row = currentRow();
    if (row < 0) return;
    if (row == rowCount() - 1 && rowCount() > 1) {
        setCurrentCell(row - 1, currentColumn() < 0 ? 0 : currentColumn());
    }
    busy_ = true;
    removeRow(row);
    busy_ = false;
    ensureOneRow();
    if (currentRow() < 0) setCurrentCell(0, 0);
    rememberRow(currentRow());
}

void TPairGrid::rememberRow(int row) {
    savedRow_ = row;
    savedName_ = Name(row);
    savedValue_ = Value(row);
}

void TPairGrid::checkUnique(int row) {
    const QString name = Name(row);
    if (name.isEmpty()) return;
    for (int r = 0; r < rowCount(); ++r) {
        if (r == row || Name(r).compare(name, Qt::CaseInsensitive) != 0) continue;
        // The name is not taken: the row keeps the one it had.
        busy_ = true;
        item(row, 0)->setText(row == savedRow_ ? savedName_ : QString());
        busy_ = false;
        if (OnError) OnError(QStringLiteral("A key with the name of \"%1\" already exists").arg(name));
        return;
    }
}

void TPairGrid::keyPressEvent(QKeyEvent* event) {
    const int row = currentRow();
    const int column = currentColumn() < 0 ? 0 : currentColumn();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Down:
            if (ctrl) {
                setCurrentCell(rowCount() - 1, column);
                return;
            }
            if (row == rowCount() - 1) {
                if (rowHasName(row)) {
                    insertEmptyRow(row + 1);
                    setCurrentCell(row + 1, column);
                }
                return;
            }
            break;
        case Qt::Key_Up:
            if (ctrl) {
                setCurrentCell(0, column);
                return;
            }
            break;
        case Qt::Key_Insert:
            if (row >= 0 && rowHasName(row)) {
                insertEmptyRow(row);
                setCurrentCell(row, column);
                rememberRow(row);
            }
            return;
        case Qt::Key_Delete:
            if (ctrl) {
                DeleteRow();
                return;
            }
            break;
        case Qt::Key_Escape:
            if (row >= 0 && row == savedRow_) {
                SetRow(row, savedName_, savedValue_);
                event->accept();
                return;
            }
            break;
        default:
            break;
    }
    QTableWidget::keyPressEvent(event);
}

void TPairGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (busy_) return;
    if (previous.isValid() && current.isValid() && previous.row() != current.row() && rowEmpty(previous.row()) &&
        rowCount() > 1) {
        // The empty row left behind goes once the selection has settled.
        const QPersistentModelIndex left(model()->index(previous.row(), 0));
        QMetaObject::invokeMethod(
            this,
            [this, left] {
                if (left.isValid() && left.row() != currentRow() && rowEmpty(left.row()) && rowCount() > 1) {
                    busy_ = true;
                    removeRow(left.row());
                    busy_ = false;
                    rememberRow(currentRow());
                }
            },
            Qt::QueuedConnection);
    }
    if (current.isValid() && current.row() != savedRow_) rememberRow(current.row());
}

}  // namespace pelm
