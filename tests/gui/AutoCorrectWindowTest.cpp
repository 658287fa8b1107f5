// Autocorrect in the main window: its pairs and switch come from pelm.ini
// through ApplyOptions, typing corrects, and a mouse press in the text corrects
// the line the caret left, as a step Undo takes back.
#include <QApplication>
#include <QTest>

#include "MainWindowFixture.h"

namespace pelm::test {
namespace {

class AutoCorrectWindowTest : public MainWindowFixture {
protected:
    std::unique_ptr<TfrMain> Open(const QByteArray& ini) {
        WriteFile("pelm.ini", ini);
        auto w = Start();
        w->show();
        QApplication::setActiveWindow(w.get());
        w->snEditor->setFocus();
        w->snEditor->Lines().SetText("");
        w->snEditor->Model().SetCaretPos({1, 1});
        QApplication::processEvents();
        return w;
    }
    static void Type(TfrMain& w, const QString& text) {
        for (QChar c : text) {
            if (c == QLatin1Char('\n')) {
                QTest::keyClick(w.snEditor, Qt::Key_Return);
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w.snEditor, &press);
        }
    }
};

TEST_F(AutoCorrectWindowTest, PairsAndSwitchFromTheSettingsFile) {
    auto w = Open("[Autocorrect]\r\nteh=the\r\nx=y=z\r\n");
    EXPECT_TRUE(w->snAutoCorrect.Enabled);
    EXPECT_EQ(w->snAutoCorrect.Items, (std::vector<std::string>{"teh=the", "x=y=z"}));
    Type(*w, QStringLiteral("Teh x=y teh.\nTEH "));
    EXPECT_EQ(Text(*w), QStringLiteral("The z the.\nTHE "));

    auto off = Open("[Editor]\r\nAutocorrect=2\r\n[Autocorrect]\r\nteh=the\r\n");
    EXPECT_FALSE(off->snAutoCorrect.Enabled);
    Type(*off, QStringLiteral("teh "));
    EXPECT_EQ(Text(*off), QStringLiteral("teh "));
}

TEST_F(AutoCorrectWindowTest, MousePressCorrectsTheLineTheCaretLeft) {
    auto w = Open("[Autocorrect]\r\nteh=the\r\n");
    w->snEditor->Lines().SetText("teh a teh\r\nsecond");
    w->snEditor->Model().SetCaretPos({10, 1});
    QTest::keyClick(w->snEditor, Qt::Key_End);  // a command: the caret's line is remembered
    w->ModFlag(false);
    // A press on the second line.
    const int y = w->snEditor->Model().RowPixelHeight() + w->snEditor->Model().RowPixelHeight() / 2;
    QTest::mouseClick(w->snEditor->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(w->snEditor->TextStartX() + 3 * w->snEditor->Model().CellPixelWidth(), y));
    EXPECT_EQ(Text(*w), QStringLiteral("the a the\nsecond"));
    EXPECT_EQ(w->snEditor->Model().CaretPos().Line, 2);
    EXPECT_TRUE(w->snEditor->Modified());
    w->snEditor->Model().Undo();
    EXPECT_EQ(Text(*w), QStringLiteral("teh a teh\nsecond"));
}

}  // namespace
}  // namespace pelm::test
