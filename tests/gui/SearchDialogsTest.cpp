// The find, replace and confirmation dialogs on their own: texts, sizes, tab
// orders, the history close check and the prompt's placement.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "gui/app/GuiText.h"
#include "gui/dialogs/TConfirmReplaceDialog.h"
#include "gui/dialogs/TTextReplaceDialog.h"

namespace pelm::test {
namespace {

// Object names of the controls in the dialog's tab chain, starting at first,
// once round (widgets inside the combo boxes are left out).
QStringList TabChain(QWidget* first, const QStringList& names) {
    QStringList chain;
    QWidget* w = first;
    do {
        if (names.contains(w->objectName()) && !chain.contains(w->objectName())) chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first);
    return chain;
}

const QStringList Controls = {"cbReplaceText", "cbSearchText", "cbSearchWholeWords", "cbSearchSelectedOnly",
                              "cbSearchFromCursor", "cbSearchCaseSensitive", "cbRegularExpression",
                              "rgSearchDirection0", "rgSearchDirection1", "btnOk", "btnCancel"};

TEST(SearchDialog, TextsSizeAndTabOrder) {
    TTextSearchDialog d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Поиск текста"));
    EXPECT_EQ(d.size(), QSize(321, 290));
    EXPECT_EQ(d.Label1->text(), QStringLiteral("&Искать:"));
    EXPECT_EQ(d.Label1->buddy(), d.cbSearchText);
    EXPECT_TRUE(d.cbSearchText->isEditable());
    EXPECT_EQ(d.gbSearchOptions->title(), QStringLiteral("Параметры"));
    // The boxes from top to bottom.
    const QList<QCheckBox*> boxes = {d.cbSearchWholeWords, d.cbSearchFromCursor, d.cbSearchSelectedOnly,
                                     d.cbRegularExpression, d.cbSearchCaseSensitive};
    const QStringList texts = {"Только &слова", "Только с &курсора", "Искать в &выделенном",
                               "Регулярное &выражение", "Соблюдать &регистр"};
    for (int i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(boxes[i]->text(), texts[i]);
        EXPECT_EQ(boxes[i]->parentWidget(), d.gbSearchOptions);
        if (i > 0) {
            EXPECT_GT(boxes[i]->y(), boxes[i - 1]->y());
        }
    }
    EXPECT_EQ(d.rgSearchDirection->title(), QStringLiteral("Направление"));
    EXPECT_EQ(d.rbForward->text(), QStringLiteral("В&перёд"));
    EXPECT_EQ(d.rbBackward->text(), QStringLiteral("&Назад"));
    EXPECT_EQ(d.btnOk->text(), QStringLiteral("ОК"));
    EXPECT_TRUE(d.btnOk->isDefault());
    EXPECT_EQ(d.btnCancel->text(), QStringLiteral("Отмена"));
    EXPECT_EQ(TabChain(d.cbSearchText, Controls),
              QStringList({"cbSearchText", "cbSearchWholeWords", "cbSearchSelectedOnly", "cbSearchFromCursor",
                           "cbSearchCaseSensitive", "cbRegularExpression", "rgSearchDirection0",
                           "rgSearchDirection1", "btnOk", "btnCancel"}));
}

TEST(ReplaceDialog, TextsSizeAndTabOrder) {
    TTextReplaceDialog d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Замена текста"));
    EXPECT_EQ(d.size(), QSize(323, 340));
    EXPECT_EQ(d.Label2->text(), QStringLiteral("Заменить на"));
    EXPECT_GT(d.cbReplaceText->y(), d.cbSearchText->y());
    EXPECT_GT(d.gbSearchOptions->y(), d.cbReplaceText->y() + d.cbReplaceText->height());
    for (QWidget* w : {static_cast<QWidget*>(d.btnOk), static_cast<QWidget*>(d.btnCancel),
                       static_cast<QWidget*>(d.rgSearchDirection)})
        EXPECT_LE(w->geometry().bottom(), d.height());
    EXPECT_EQ(TabChain(d.cbReplaceText, Controls),
              QStringList({"cbReplaceText", "btnCancel", "btnOk", "cbSearchText", "rgSearchDirection0",
                           "rgSearchDirection1", "cbSearchWholeWords", "cbSearchSelectedOnly",
                           "cbSearchFromCursor", "cbSearchCaseSensitive", "cbRegularExpression"}));
    d.show();
    QApplication::processEvents();
    QWidget* focus = d.focusWidget();
    EXPECT_TRUE(focus == d.cbReplaceText || (focus && focus->parentWidget() == d.cbReplaceText))
        << "the replacement box has the focus, not " << (focus ? focus->objectName().toStdString() : "none");
    d.reject();
}

TEST(SearchDialog, OptionsRoundTrip) {
    TTextSearchDialog d;
    d.SetSearchBackwards(true);
    d.SetSearchCaseSensitive(true);
    d.SetSearchWholeWords(true);
    d.SetSearchText("\xEF\xF0\xE8\xE2\xE5\xF2");  // "привет" in Windows-1251
    EXPECT_TRUE(d.rbBackward->isChecked());
    EXPECT_TRUE(d.SearchCaseSensitive());
    EXPECT_FALSE(d.SearchFromCursor());
    EXPECT_TRUE(d.SearchWholeWords());
    EXPECT_EQ(d.cbSearchText->currentText(), QStringLiteral("привет"));
    EXPECT_EQ(d.SearchText(), "\xEF\xF0\xE8\xE2\xE5\xF2");
}

struct HistoryCase {
    const char* name;
    const char* history;
    const char* text;
    const char* after;
};

void PrintTo(const HistoryCase& c, std::ostream* os) { *os << c.name; }

class SearchHistory : public ::testing::TestWithParam<HistoryCase> {};

TEST_P(SearchHistory, OkMovesTextToTop) {
    const HistoryCase& c = GetParam();
    TTextReplaceDialog d;
    d.SetSearchTextHistory(c.history);
    d.SetSearchText(c.text);
    d.SetReplaceTextHistory(c.history);
    d.SetReplaceText(c.text);
    d.accept();
    EXPECT_EQ(d.SearchTextHistory(), c.after);
    EXPECT_EQ(d.ReplaceTextHistory(), c.after);
    EXPECT_EQ(d.SearchText(), c.text);
}

const HistoryCase histories[] = {
    {"NewTextOnTop", "a\r\nb", "c", "c\r\na\r\nb"},
    {"EqualIgnoringCaseReplaced", "a\r\nAbc\r\nb", "aBC", "aBC\r\na\r\nb"},
    {"CyrillicCaseIgnored", "\xC0\xC1\r\nb", "\xE0\xE1", "\xE0\xE1\r\nb"},
    {"EmptyTextLeavesList", "a\r\nb", "", "a\r\nb"},
    {"OnlyTenKept", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10", "new",
     "new\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9"},
};
INSTANTIATE_TEST_SUITE_P(Dialog, SearchHistory, ::testing::ValuesIn(histories));

TEST(SearchDialog, CancelRunsNoCloseCheck) {
    TTextSearchDialog d;
    d.SetSearchTextHistory("a");
    d.SetSearchText("b");
    d.reject();
    EXPECT_EQ(d.SearchTextHistory(), "a");
}

TEST(ConfirmDialog, TextsAndSize) {
    TConfirmReplaceDialog d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Заменить?"));
    EXPECT_EQ(d.size(), QSize(328, 66));
    const QList<QPushButton*> row = {d.btnReplace, d.btnNo, d.btnCancel, d.btnYesToAll};
    const QStringList texts = {"&Да", "&Нет", "&Отмена", "&Все"};
    for (int i = 0; i < row.size(); ++i) {
        EXPECT_EQ(row[i]->text(), texts[i]);
        if (i > 0) {
            EXPECT_GT(row[i]->x(), row[i - 1]->x());
        }
        EXPECT_EQ(row[i]->y(), row[0]->y());
    }
    EXPECT_TRUE(d.btnReplace->isDefault());
}

TEST(ConfirmDialog, ButtonsGiveActions) {
    struct {
        QPushButton* TConfirmReplaceDialog::*button;
        TCodeReplaceAction action;
    } const cases[] = {{&TConfirmReplaceDialog::btnReplace, raReplace},
                       {&TConfirmReplaceDialog::btnNo, raSkip},
                       {&TConfirmReplaceDialog::btnCancel, raCancel},
                       {&TConfirmReplaceDialog::btnYesToAll, raReplaceAll}};
    for (const auto& c : cases) {
        TConfirmReplaceDialog d;
        QTimer::singleShot(0, &d, [&] { (d.*c.button)->click(); });
        d.exec();
        EXPECT_EQ(d.Action(), c.action);
    }
    TConfirmReplaceDialog d;
    QTimer::singleShot(0, &d, [&] { d.close(); });
    d.exec();
    EXPECT_EQ(d.Action(), raCancel) << "closing the window cancels";
}

TEST(ConfirmDialog, ReferenceClearedWhenDestroyed) {
    ConfirmReplaceDialog = new TConfirmReplaceDialog();
    delete ConfirmReplaceDialog.data();
    EXPECT_TRUE(ConfirmReplaceDialog.isNull());
}

struct PlaceCase {
    const char* name;
    QRect area;
    int x, top, bottom;
    QPoint expected;  // frame's top-left
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class PlaceNear : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceNear, Places) {
    const PlaceCase& c = GetParam();
    TConfirmReplaceDialog d;
    d.PlaceNear(c.area, c.x, c.top, c.bottom, QStringLiteral("needle"));
    EXPECT_EQ(d.lblConfirmation->text(), QStringLiteral("needle"));
    EXPECT_EQ(d.frameGeometry().topLeft(), c.expected);
}

// Offscreen windows have no frame: the dialog's outer size is 328 by 66.
const PlaceCase places[] = {
    {"BelowInUpperPart", QRect(100, 100, 800, 600), 300, 200, 215, QPoint(300, 219)},
    {"AboveInLowerThird", QRect(100, 100, 800, 600), 300, 600, 615, QPoint(300, 600 - 66 - 4)},
    {"OnTheTwoThirdsLineStillBelow", QRect(100, 100, 800, 600), 300, 485, 500, QPoint(300, 504)},
    {"KeptInsideRightEdge", QRect(100, 100, 800, 600), 850, 200, 215, QPoint(900 - 328, 219)},
    {"CentredOnNarrowArea", QRect(100, 100, 300, 600), 150, 200, 215, QPoint(100 - 14, 219)},
};
INSTANTIATE_TEST_SUITE_P(Dialog, PlaceNear, ::testing::ValuesIn(places));

}  // namespace
}  // namespace pelm::test
