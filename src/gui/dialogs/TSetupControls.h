#pragma once
// The settings dialog's own controls: the digits-only number field with
// arrows, the colour list with names and a custom entry, and the two-column
// name/value grid with its keyboard rules.
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

namespace pelm {

// Digits only, no sign. The arrows step by 1 between 0 and 100; a larger
// number can still be typed. The text may be empty.
class TNumberField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TNumberField(QWidget* parent = nullptr);
    QString Text() const;
    void SetText(const QString& text);
    void SetValue(int value) { SetText(QString::number(value)); }
    static constexpr int ArrowMin = 0;
    static constexpr int ArrowMax = 100;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;
};

// Colours as the editor stores them (0x00BBGGRR): the standard and the
// extended colours with their names, and a custom entry first that holds any
// other colour and opens the colour dialog when chosen.
class TColorList : public QComboBox {
    Q_OBJECT
public:
    explicit TColorList(QWidget* parent = nullptr);
    uint32_t Selected() const;
    // Chooses the named entry of that colour, else puts it into the custom entry.
    void Select(uint32_t color);
    // Asks for the custom colour; nullptr-free default uses QColorDialog.
    std::function<bool(uint32_t& color)> AskColor;

private:
    void setCustom(uint32_t color);
    int previous_ = 0;
};

// Two columns of names and values. Names are unique without regard to case
// (rows with an empty name excepted); the grid always shows at least one row.
class TPairGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TPairGrid(QWidget* parent = nullptr);

    // "name=value" pairs as the INI layer gives them, in order.
    void SetPairs(const std::vector<std::string>& pairs);
    int RowCount() const { return rowCount(); }
    QString Name(int row) const;
    QString Value(int row) const;
    void SetRow(int row, const QString& name, const QString& value);
    // The value of the first row of that name (case ignored).
    QString ValueOf(const QString& name) const;

    // Inserts a row with value before the current row, unless the current row
    // is itself empty: then that row takes the value.
    void AddRow(const QString& value = QString());
    // Deletes the current row; on the last row the row above becomes current first.
    void DeleteRow();

    // The message for a name that another row already has (the dialog shows it).
    std::function<void(const QString& message)> OnError;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool rowHasName(int row) const { return !Name(row).isEmpty(); }
    bool rowEmpty(int row) const { return Name(row).isEmpty() && Value(row).isEmpty(); }
    void insertEmptyRow(int row);
    void ensureOneRow();
    void rememberRow(int row);
    void checkUnique(int row);

    int savedRow_ = -1;
    QString savedName_, savedValue_;
    bool busy_ = false;
};

}  // namespace pelm
