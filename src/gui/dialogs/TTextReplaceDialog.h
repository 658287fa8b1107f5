#pragma once
// The replace dialog "Замена текста": the find dialog with a replacement text
// and its history below the search text.
#include "gui/dialogs/TTextSearchDialog.h"

namespace pelm {

class TTextReplaceDialog : public TTextSearchDialog {
    Q_OBJECT
public:
    explicit TTextReplaceDialog(QWidget* parent = nullptr);

    std::string ReplaceText() const;
    void SetReplaceText(const std::string& value);
    std::string ReplaceTextHistory() const;
    void SetReplaceTextHistory(const std::string& value);

    QLabel* Label2 = nullptr;
    QComboBox* cbReplaceText = nullptr;

protected:
    void CloseCheck() override;
};

}  // namespace pelm
