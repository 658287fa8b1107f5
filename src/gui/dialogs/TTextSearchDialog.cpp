#include "gui/dialogs/TTextSearchDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "core/document/SearchState.h"
#include "gui/app/GuiText.h"

namespace pelm {

TTextSearchDialog::TTextSearchDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TextSearchDialog"));
    setWindowTitle(QStringLiteral("Поиск текста"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(321, 290);

    Label1 = new QLabel(QStringLiteral("&Искать:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 305, 16);
    cbSearchText = new QComboBox(this);
    cbSearchText->setObjectName(QStringLiteral("cbSearchText"));
    cbSearchText->setEditable(true);
    cbSearchText->setInsertPolicy(QComboBox::NoInsert);
    cbSearchText->setGeometry(8, 26, 305, 24);
    Label1->setBuddy(cbSearchText);

    gbSearchOptions = new QGroupBox(QStringLiteral("Параметры"), this);
    gbSearchOptions->setObjectName(QStringLiteral("gbSearchOptions"));
    gbSearchOptions->setGeometry(8, 60, 305, 132);
    auto box = [&](const char* name, const QString& text, int row) {
        auto* c = new QCheckBox(text, gbSearchOptions);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(12, 22 + row * 21, 281, 20);
        return c;
    };
    // Top to bottom.
    cbSearchWholeWords = box("cbSearchWholeWords", QStringLiteral("Только &слова"), 0);
    cbSearchFromCursor = box("cbSearchFromCursor", QStringLiteral("Только с &курсора"), 1);
    cbSearchSelectedOnly = box("cbSearchSelectedOnly", QStringLiteral("Искать в &выделенном"), 2);
    cbRegularExpression = box("cbRegularExpression", QStringLiteral("Регулярное &выражение"), 3);
    cbSearchCaseSensitive = box("cbSearchCaseSensitive", QStringLiteral("Соблюдать &регистр"), 4);

    rgSearchDirection = new QGroupBox(QStringLiteral("Направление"), this);
    rgSearchDirection->setObjectName(QStringLiteral("rgSearchDirection"));
    rgSearchDirection->setGeometry(8, 198, 305, 50);
    rbForward = new QRadioButton(QStringLiteral("В&перёд"), rgSearchDirection);
    rbForward->setObjectName(QStringLiteral("rgSearchDirection0"));
    rbForward->setGeometry(12, 22, 130, 20);
    rbBackward = new QRadioButton(QStringLiteral("&Назад"), rgSearchDirection);
    rbBackward->setObjectName(QStringLiteral("rgSearchDirection1"));
    rbBackward->setGeometry(156, 22, 130, 20);
    rbForward->setChecked(true);

    btnOk = new QPushButton(QStringLiteral("ОК"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(158, 256, 75, 26);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(238, 256, 75, 26);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Tab order: the top-level controls, and inside the group its own order.
    setTabOrder(cbSearchText, cbSearchWholeWords);
    setTabOrder(cbSearchWholeWords, cbSearchSelectedOnly);
    setTabOrder(cbSearchSelectedOnly, cbSearchFromCursor);
    setTabOrder(cbSearchFromCursor, cbSearchCaseSensitive);
    setTabOrder(cbSearchCaseSensitive, cbRegularExpression);
    setTabOrder(cbRegularExpression, rbForward);
    setTabOrder(rbForward, rbBackward);
    setTabOrder(rbBackward, btnOk);
    setTabOrder(btnOk, btnCancel);
    cbSearchText->setFocus();
}

void TTextSearchDialog::MoveControlsBelowSearchText(int dy) {
    for (QWidget* w : {static_cast<QWidget*>(gbSearchOptions), static_cast<QWidget*>(rgSearchDirection),
                       static_cast<QWidget*>(btnOk), static_cast<QWidget*>(btnCancel)})
        w->move(w->x(), w->y() + dy);
}

void TTextSearchDialog::showEvent(QShowEvent* event) {
    // Centred on the screen.
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    QDialog::showEvent(event);
}

bool TTextSearchDialog::SearchBackwards() const { return rbBackward->isChecked(); }
void TTextSearchDialog::SetSearchBackwards(bool value) { (value ? rbBackward : rbForward)->setChecked(true); }
bool TTextSearchDialog::SearchCaseSensitive() const { return cbSearchCaseSensitive->isChecked(); }
void TTextSearchDialog::SetSearchCaseSensitive(bool value) { cbSearchCaseSensitive->setChecked(value); }
bool TTextSearchDialog::SearchFromCursor() const { return cbSearchFromCursor->isChecked(); }
void TTextSearchDialog::SetSearchFromCursor(bool value) { cbSearchFromCursor->setChecked(value); }
bool TTextSearchDialog::SearchInSelection() const { return cbSearchSelectedOnly->isChecked(); }
void TTextSearchDialog::SetSearchInSelection(bool value) { cbSearchSelectedOnly->setChecked(value); }
bool TTextSearchDialog::SearchWholeWords() const { return cbSearchWholeWords->isChecked(); }
void TTextSearchDialog::SetSearchWholeWords(bool value) { cbSearchWholeWords->setChecked(value); }
bool TTextSearchDialog::SearchRegularExpression() const { return cbRegularExpression->isChecked(); }
void TTextSearchDialog::SetSearchRegularExpression(bool value) { cbRegularExpression->setChecked(value); }

std::string TTextSearchDialog::SearchText() const { return ToCp1251(cbSearchText->currentText()); }
void TTextSearchDialog::SetSearchText(const std::string& value) { cbSearchText->setEditText(FromCp1251(value)); }
std::string TTextSearchDialog::SearchTextHistory() const { return HistoryOf(cbSearchText); }
void TTextSearchDialog::SetSearchTextHistory(const std::string& value) { SetHistoryOf(cbSearchText, value); }

std::string TTextSearchDialog::HistoryOf(const QComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(ToCp1251(box->itemText(i)));
    return HistoryText(items);
}

void TTextSearchDialog::SetHistoryOf(QComboBox* box, const std::string& history) {
    // Filling the list must not replace the text already in the box.
    const QString text = box->currentText();
    box->clear();
    for (const std::string& item : HistoryItems(history)) box->addItem(FromCp1251(item));
    box->setEditText(text);
}

void TTextSearchDialog::PushToTop(QComboBox* box) {
    const std::string text = ToCp1251(box->currentText());
    if (text.empty()) return;
    std::vector<std::string> items;
    for (int i = 0; i < box->count(); ++i) items.push_back(ToCp1251(box->itemText(i)));
    PushHistory(items, text);
    box->clear();
    for (const std::string& item : items) box->addItem(FromCp1251(item));
    box->setEditText(FromCp1251(text));
}

void TTextSearchDialog::CloseCheck() { PushToTop(cbSearchText); }

void TTextSearchDialog::accept() {
    CloseCheck();
    QDialog::accept();
}

}  // namespace pelm
