#pragma once
// The character dialog: the entries of section "Chars" of the settings file
// (a description and the code to insert, such as "&nbsp;"); OK puts the chosen
// entry's code in place of the editor's selection.
#include <QDialog>
#include <vector>

#include "core/authoring/CharList.h"

class QPushButton;
class QTableWidget;

namespace pelm {

class TCustomCodeEdit;
class TIniFile;

class TfrCharInsert : public QDialog {
    Q_OBJECT
public:
    // settings may be nullptr (an empty list).
    TfrCharInsert(const TIniFile* settings, TCustomCodeEdit* editor, QWidget* parent = nullptr);

    void btnOKClick();

    QTableWidget* edtChar = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void FormCreate(const TIniFile* settings);

    TCustomCodeEdit* editor_;
    std::vector<TCharEntry> list_;
};

}  // namespace pelm
