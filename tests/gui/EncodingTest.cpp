// The document's encoding in the main window: a UTF-8 page edited in Russian
// and saved stays UTF-8; the status panel names the encoding; a file the editor
// cannot hold opens read-only; a save the encoding cannot hold asks before
// switching to UTF-8; reopening and saving in a chosen encoding, remembered in
// pelm.ini; a new document from a UTF-8 template.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTest>

#include "MainWindowFixture.h"
#include "core/config/TIniFile.h"
#include "core/encoding/TextEncoding.h"
#include "gui/app/TfrMainEncoding.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

using EncodingWindowTest = MainWindowFixture;

// Text typed as a Russian keyboard layout delivers it.
void Type(TfrMain& w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w.snEditor, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w.snEditor, &release);
    }
}

bool ValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray Koi8(const QString& text) {
    QStringEncoder encoder("KOI8-R");
    return encoder.encode(text);
}

QAction* Item(QMenu* menu, const QString& caption) {
    for (QAction* a : menu->actions())
        if (a->text() == caption) return a;
    ADD_FAILURE() << "no item " << caption.toStdString();
    return nullptr;
}

QString Stored(TfrMain& w, const QString& file) {
    return QString::fromStdString(w.SettingsFile()->IniRead("Filez", FileNameBytes(file) + "_Encoding", ""));
}

TEST_F(EncodingWindowTest, Utf8PageEditedInRussianIsSavedAsUtf8) {
    const QByteArray original = "<!DOCTYPE html>\n<html>\n<head><meta charset=\"utf-8\"><title>Новости</title></head>\n"
                                "<body>\n<p>Привет, </p>\n</body>\n</html>\n";
    const QString file = WriteFile("page.html", original);
    auto w = Start({file});
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "UTF-8");
    EXPECT_EQ(Text(*w).split('\n')[2], "<head><meta charset=\"utf-8\"><title>Новости</title></head>");
    w->snEditor->Model().SetCaretPos(TBufferCoord{12, 5});
    Type(*w, QStringLiteral("мир"));
    EXPECT_TRUE(w->snEditor->Modified());
    w->pnkFileSaveClick();
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join('\n').toStdString();
    const QByteArray saved = ReadFile(file);
    EXPECT_TRUE(ValidUtf8(saved));
    QByteArray expected = original;
    expected.replace("Привет, ", "Привет, мир");
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "UTF-8");
    // A click on the panel offers the two submenus.
    QTest::mouseClick(w->Encoding()->barEncoding, Qt::LeftButton);
    EXPECT_TRUE(w->Encoding()->pppEncoding->isVisible());
    EXPECT_EQ(w->Encoding()->pppEncoding->actions(),
              (QList<QAction*>{w->Encoding()->pnkServiceEncodingReopen->menuAction(),
                               w->Encoding()->pnkServiceEncodingSave->menuAction()}));
    w->Encoding()->pppEncoding->hide();
    // The panel comes after the six panels of the status bar.
    EXPECT_GT(w->statusBar()->children().indexOf(w->Encoding()->barEncoding),
              w->statusBar()->children().indexOf(w->barStatus[5]));
}

TEST_F(EncodingWindowTest, FileWithCharactersTheEditorLacksOpensReadOnly) {
    const QByteArray original = "<p>Первая</p>\n<p>Туда \xE2\x86\x92 и обратно</p>\n";
    const QString file = WriteFile("arrow.html", original);
    auto w = Start({file});
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].contains(QStringLiteral("«→» (U+2192) в строке 2"))) << prompts_.errors[0].toStdString();
    EXPECT_TRUE(prompts_.errors[0].contains(QStringLiteral("только для чтения")));
    EXPECT_TRUE(w->Encoding()->ReadOnly());
    Type(*w, QStringLiteral("x"));
    EXPECT_FALSE(w->snEditor->Modified());
    EXPECT_EQ(Text(*w).split('\n')[1], "<p>Туда ? и обратно</p>");
    w->pnkFileSaveClick();
    EXPECT_EQ(prompts_.errors.size(), 2);
    EXPECT_EQ(ReadFile(file), original);
    // The next document is editable again, its template expanded.
    w->pnkFileNewHTMLClick();
    EXPECT_FALSE(w->Encoding()->ReadOnly());
    EXPECT_EQ(Text(*w), "<html>\n<title>Vorn Pelm 2.00</title>\n\n</html>");
    Type(*w, QStringLiteral("x"));
    EXPECT_TRUE(w->snEditor->Modified());
}

TEST_F(EncodingWindowTest, SaveTheEncodingCannotHoldOffersUtf8) {
    const QString file = WriteFile("koi.txt", "<?xml version=\"1.0\" encoding=\"koi8-r\"?>\n" + Koi8("<a>Цена</a>\n"));
    auto w = Start({file});
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "KOI8-R");
    w->snEditor->Model().SetCaretPos(TBufferCoord{4, 2});
    Type(*w, QStringLiteral("€"));
    // No: nothing is written.
    prompts_.answers = {PromptAnswer::No};
    w->pnkFileSaveClick();
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_EQ(prompts_.questions[0].text,
              QStringLiteral("Символ «€» (U+20AC) в строке 2 нельзя записать в кодировке KOI8-R.\nСохранить файл в UTF-8?"));
    EXPECT_TRUE(w->snEditor->Modified());
    EXPECT_EQ(ReadFile(file), "<?xml version=\"1.0\" encoding=\"koi8-r\"?>\n" + Koi8("<a>Цена</a>\n"));
    // Yes: UTF-8, remembered for the file.
    prompts_.answers = {PromptAnswer::Yes};
    w->pnkFileSaveClick();
    EXPECT_FALSE(w->snEditor->Modified());
    EXPECT_EQ(ReadFile(file), QByteArray("<?xml version=\"1.0\" encoding=\"koi8-r\"?>\n<a>€Цена</a>\n"));
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "UTF-8");
    EXPECT_EQ(Stored(*w, file), "UTF-8");
}

TEST_F(EncodingWindowTest, ReopenAndSaveInAChosenEncodingAreRemembered) {
    const QByteArray koi = Koi8(QStringLiteral("Короткий текст\n"));
    const QString file = WriteFile("note.txt", koi);
    auto w = Start({file});
    const QString detected = w->Encoding()->barEncoding->text();
    QMenu* reopen = w->Encoding()->pnkServiceEncodingReopen;
    EXPECT_TRUE(w->pnkService->actions().contains(w->Encoding()->pnkServiceEncoding->menuAction()));
    EXPECT_EQ(w->Encoding()->pnkServiceEncoding->title(), "Кодировка");
    EXPECT_EQ(reopen->title(), "Открыть заново в кодировке…");
    EXPECT_EQ(w->Encoding()->pnkServiceEncodingSave->title(), "Сохранять в кодировке…");

    // Unsaved changes are asked about first; Cancel keeps everything.
    Type(*w, QStringLiteral("Я"));
    prompts_.answers = {PromptAnswer::Cancel};
    Item(reopen, "KOI8-R")->trigger();
    EXPECT_TRUE(w->snEditor->Modified());
    EXPECT_EQ(w->Encoding()->barEncoding->text(), detected);
    // No drops them and reloads in the chosen encoding.
    prompts_.answers = {PromptAnswer::No};
    Item(reopen, "KOI8-R")->trigger();
    EXPECT_EQ(prompts_.questions.size(), 2u);
    EXPECT_FALSE(w->snEditor->Modified());
    EXPECT_EQ(Text(*w), "Короткий текст");
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "KOI8-R");
    EXPECT_EQ(Stored(*w, file), "KOI8-R");

    // The next save in CP866.
    Item(w->Encoding()->pnkServiceEncodingSave, "CP866")->trigger();
    EXPECT_TRUE(w->snEditor->Modified());
    w->pnkFileSaveClick();
    QStringEncoder cp866("IBM866");
    EXPECT_EQ(ReadFile(file), QByteArray(cp866.encode(QStringLiteral("Короткий текст\n"))));
    EXPECT_EQ(Stored(*w, file), "CP866");

    // Opened again, the file is read in the remembered encoding.
    w.reset();
    w = Start({file});
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "CP866");
    EXPECT_EQ(Text(*w), "Короткий текст");
}

TEST_F(EncodingWindowTest, NewDocumentTakesTheEncodingItsTemplateDeclares) {
    QFile shipped(QStringLiteral(PELM_TEST_DATA "/../data/Library/Templates/HTML5.pel"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray html5 = shipped.readAll();
    EXPECT_TRUE(html5.startsWith("<!DOCTYPE html>"));
    WriteFile("Library/Templates/HTML5.pel", html5);
    WriteFile("pelm.ini", "[Templates]\r\nHTML=HTML5.pel\r\n");
    auto w = Start();
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "UTF-8");
    // A document without a file has nothing to reopen.
    emit w->Encoding()->pnkServiceEncoding->aboutToShow();
    EXPECT_FALSE(w->Encoding()->pnkServiceEncodingReopen->isEnabled());
    Type(*w, QStringLiteral("Ёж"));
    const QString file = Path("new.html");
    prompts_.saveNames = {file};
    w->pnkFileSaveClick();
    const QByteArray saved = ReadFile(file);
    EXPECT_TRUE(ValidUtf8(saved));
    EXPECT_TRUE(saved.contains("Ёж")) << saved.toStdString();

    // The default template stays Windows-1251 (it declares it).
    WriteFile("Library/Templates/HTML.pel",
              "<html>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n%cur\n</html>\n");
    w->pnkFileNewClick(DocumentKind::CSS);  // no CSS template here: an error, nothing changes
    WriteFile("pelm.ini", "[Templates]\r\nHTML=HTML.pel\r\n");
    w->ApplyOptions();
    w->pnkFileNewHTMLClick();
    EXPECT_EQ(w->Encoding()->barEncoding->text(), "Windows-1251");
}

}  // namespace
}  // namespace pelm::test
