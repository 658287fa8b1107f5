#pragma once
// The find dialog "Поиск текста": the search text with its history, the five
// search options and the direction. The replace dialog derives from it.
#include <QDialog>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace pelm {

class TTextSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextSearchDialog(QWidget* parent = nullptr);

    // Texts are Windows-1251 bytes; a history is one string of lines.
    bool SearchBackwards() const;
    void SetSearchBackwards(bool value);
    bool SearchCaseSensitive() const;
    void SetSearchCaseSensitive(bool value);
    bool SearchFromCursor() const;
    void SetSearchFromCursor(bool value);
    bool SearchInSelection() const;
    void SetSearchInSelection(bool value);
    bool SearchWholeWords() const;
    void SetSearchWholeWords(bool value);
    bool SearchRegularExpression() const;
    void SetSearchRegularExpression(bool value);
    std::string SearchText() const;
    void SetSearchText(const std::string& value);
    std::string SearchTextHistory() const;
    void SetSearchTextHistory(const std::string& value);

    // Closing with OK first runs the close check: each non-empty text moves to
    // the top of its list.
    void accept() override;

    // Controls, named as in the form.
    QLabel* Label1 = nullptr;
    QComboBox* cbSearchText = nullptr;
    QGroupBox* gbSearchOptions = nullptr;
    QCheckBox* cbSearchWholeWords = nullptr;
    QCheckBox* cbSearchFromCursor = nullptr;
    QCheckBox* cbSearchSelectedOnly = nullptr;
    QCheckBox* cbRegularExpression = nullptr;
    QCheckBox* cbSearchCaseSensitive = nullptr;
    QGroupBox* rgSearchDirection = nullptr;
    QRadioButton* rbForward = nullptr;
    QRadioButton* rbBackward = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // Moves the controls below the search text down by dy pixels (the replace
    // dialog's room for its second box).
    void MoveControlsBelowSearchText(int dy);
    virtual void CloseCheck();
    // Moves text to the top of the box's list and sets it as the box's text.
    static void PushToTop(QComboBox* box);
    static std::string HistoryOf(const QComboBox* box);
    static void SetHistoryOf(QComboBox* box, const std::string& history);
};

}  // namespace pelm
