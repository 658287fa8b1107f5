#include "gui/dialogs/TTextReplaceDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "gui/app/GuiText.h"

namespace pelm {

TTextReplaceDialog::TTextReplaceDialog(QWidget* parent) : TTextSearchDialog(parent) {
    setObjectName(QStringLiteral("TextReplaceDialog"));
    setWindowTitle(QStringLiteral("Замена текста"));
    setFixedSize(323, 340);

    constexpr int room = 48;
    MoveControlsBelowSearchText(room);
    btnOk->move(btnOk->x() + 2, btnOk->y() + 2);
    btnCancel->move(btnCancel->x() + 2, btnCancel->y() + 2);
    Label2 = new QLabel(QStringLiteral("Заменить на"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 56, 305, 16);
    cbReplaceText = new QComboBox(this);
    cbReplaceText->setObjectName(QStringLiteral("cbReplaceText"));
    cbReplaceText->setEditable(true);
    cbReplaceText->setInsertPolicy(QComboBox::NoInsert);
    cbReplaceText->setGeometry(8, 74, 305, 24);
    Label2->setBuddy(cbReplaceText);

    // The replacement box comes first, so it has the focus when the dialog opens.
    setTabOrder(cbReplaceText, btnCancel);
    setTabOrder(btnCancel, btnOk);
    setTabOrder(btnOk, cbSearchText);
    setTabOrder(cbSearchText, rbForward);
    setTabOrder(rbForward, rbBackward);
    setTabOrder(rbBackward, cbSearchWholeWords);
    setTabOrder(cbSearchWholeWords, cbSearchSelectedOnly);
    setTabOrder(cbSearchSelectedOnly, cbSearchFromCursor);
    setTabOrder(cbSearchFromCursor, cbSearchCaseSensitive);
    setTabOrder(cbSearchCaseSensitive, cbRegularExpression);
    cbReplaceText->setFocus();
}

std::string TTextReplaceDialog::ReplaceText() const { return ToCp1251(cbReplaceText->currentText()); }
void TTextReplaceDialog::SetReplaceText(const std::string& value) { cbReplaceText->setEditText(FromCp1251(value)); }
std::string TTextReplaceDialog::ReplaceTextHistory() const { return HistoryOf(cbReplaceText); }
void TTextReplaceDialog::SetReplaceTextHistory(const std::string& value) { SetHistoryOf(cbReplaceText, value); }

void TTextReplaceDialog::CloseCheck() {
    TTextSearchDialog::CloseCheck();
    PushToTop(cbReplaceText);
}

}  // namespace pelm
