// The main window against hostile settings and files: window bounds off every
// screen, a document name that would inject settings, special files, binary
// files and files whose lines end in more than one way.
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <sys/stat.h>

#include "MainWindowFixture.h"
#include "core/config/TIniFile.h"
#include "gui/app/GuiText.h"
#include "gui/editor/TCodeEdit.h"

namespace pelm::test {
namespace {

class HostileInputTest : public MainWindowFixture {};

TEST_F(HostileInputTest, RestoredWindowStaysOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char* name;
        QByteArray ini;
        QRect expected;
    } cases[] = {
        {"huge size", "Left=0\r\nTop=0\r\nWidth=2147483647\r\nHeight=2147483647\r\n",
         QRect(area.left(), area.top(), area.width(), area.height())},
        {"far off the top left", "Left=-100000\r\nTop=-100000\r\nWidth=600\r\nHeight=450\r\n",
         QRect(area.left() + 100 - 600, area.top(), 600, 450)},
        {"sane bounds kept", "Left=40\r\nTop=30\r\nWidth=600\r\nHeight=450\r\n", QRect(40, 30, 600, 450)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("pelm.ini", "[TfrMainWindow]\r\n" + c.ini);
        auto w = Start();
        EXPECT_EQ(QRect(w->pos(), w->size()), c.expected);
    }
}

TEST_F(HostileInputTest, HugeOpenHistoryIsCapped) {
    WriteFile("pelm.ini", "[Editor]\r\nOpenHistory=100000000\r\n[LastOpened]\r\nMRU1=/x/a.html\r\n");
    auto w = Start();
    EXPECT_EQ(w->RecentFiles().MaxItems(), 35);
    EXPECT_EQ(w->RecentFiles().Count(), 1);
}

// A file named so that "name_Cursor=n" would end in a new section: saving it
// must not change the user's settings, and the name gets no caret memory.
TEST_F(HostileInputTest, DocumentNameCannotInjectSettings) {
    WriteFile("pelm.ini", "[Toolbars]\r\nTagInsert=1\r\n");
    const QString name = WriteFile(QStringLiteral("docs/x\n[Editor]\nTabWidth=1\ny"), "<p>text</p>\r\n");
    {
        auto w = Start({name});
        EXPECT_EQ(w->DocFileName(), name);
        w->snEditor->Model().SetSelOffset(3);
        w->pnkFileSave->trigger();
        EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join('\n').toStdString();
        EXPECT_TRUE(w->RecentFiles().Items().empty());
        EXPECT_TRUE(w->close());
    }
    TIniFile ini(FileNameBytes(Path("pelm.ini")));
    EXPECT_EQ(ini.IniReadNumber("Editor", "TabWidth", 8), 8);
    EXPECT_EQ(ini.IniRead("Editor", "y_Cursor", "none"), "none");
    EXPECT_FALSE(ReadFile(Path("pelm.ini")).contains("TabWidth=1"));
    EXPECT_FALSE(ReadFile(Path("pelm.ini")).contains("_Cursor"));
}

TEST_F(HostileInputTest, SpecialFilesAreRefusedAndTheProgramGoesOn) {
    const QString pipe = Path("pipe.html");
    ASSERT_EQ(mkfifo(FileNameBytes(pipe).c_str(), 0600), 0);
    QDir().mkpath(Path("folder.html"));
    auto w = Start({pipe});  // would block for ever if the pipe were opened for reading
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_EQ(prompts_.errors[0], QStringLiteral("Cannot open file \"") + pipe +
                                      QStringLiteral("\". Not a regular file (a named pipe)."));
    EXPECT_EQ(w->DocFileName(), NewDocumentName);
    for (const QString& name : {QStringLiteral("/dev/zero"), Path("folder.html")}) {
        prompts_.openNames = {name};
        w->pnkFileOpen->trigger();
        EXPECT_EQ(w->DocFileName(), NewDocumentName);
    }
    ASSERT_EQ(prompts_.errors.size(), 3);
    EXPECT_EQ(prompts_.errors[1], QStringLiteral("Cannot open file \"/dev/zero\". Not a regular file (a character device)."));
    EXPECT_TRUE(prompts_.errors[2].endsWith(QStringLiteral("Is a directory.")));
    EXPECT_TRUE(w->RecentFiles().Items().empty());
}

TEST_F(HostileInputTest, BinaryFileOpensReadOnlyUnlessTheUserChoosesToEdit) {
    QByteArray binary("\x7f" "ELF\x02\x01\x01\0\0\0\n\0\0\r\nrest", 20);
    const QString file = WriteFile("prog", binary);
    auto w = Start();
    // No: read-only. Typing changes nothing and Save does not write.
    prompts_.answers = {PromptAnswer::No};
    prompts_.openNames = {file};
    w->pnkFileOpen->trigger();
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_TRUE(prompts_.questions[0].text.contains(QStringLiteral("похож на двоичный")));
    EXPECT_EQ(w->DocFileName(), file);
    EXPECT_TRUE(w->snEditor->Model().ReadOnly());
    w->pnkFileSave->trigger();
    ASSERT_EQ(prompts_.errors.size(), 1);
    EXPECT_TRUE(prompts_.errors[0].contains(QStringLiteral("только для чтения")));
    EXPECT_EQ(ReadFile(file), binary);
    // A text document is editable again; Cancel does not open the file.
    w->pnkFileNewHTML->trigger();
    EXPECT_FALSE(w->snEditor->Model().ReadOnly());
    prompts_.answers = {PromptAnswer::Cancel};
    prompts_.openNames = {file};
    w->pnkFileOpen->trigger();
    EXPECT_EQ(w->DocFileName(), NewDocumentName);
    // Yes: editable.
    prompts_.answers = {PromptAnswer::Yes};
    prompts_.openNames = {file};
    w->pnkFileOpen->trigger();
    EXPECT_FALSE(w->snEditor->Model().ReadOnly());
}

TEST_F(HostileInputTest, SaveOfMixedLineBreaksAsksOnceBeforeWriting) {
    const QByteArray mixed("a\r\nb\nc\r\n");
    const QString file = WriteFile("mixed.html", mixed);
    auto w = Start({file});
    EXPECT_TRUE(prompts_.questions.empty());  // text, not binary
    prompts_.answers = {PromptAnswer::No};
    w->pnkFileSave->trigger();
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_TRUE(prompts_.questions[0].text.contains(QStringLiteral("CR LF")));
    EXPECT_EQ(ReadFile(file), mixed);
    prompts_.answers = {PromptAnswer::Yes};
    w->pnkFileSave->trigger();
    EXPECT_EQ(ReadFile(file), QByteArray("a\r\nb\r\nc\r\n"));
    w->pnkFileSave->trigger();  // asked once only
    EXPECT_EQ(prompts_.questions.size(), 2u);
    // A file with one kind of line break is saved without a question.
    const QString unix = WriteFile("unix.html", "a\nb\n");
    prompts_.openNames = {unix};
    w->pnkFileOpen->trigger();
    w->pnkFileSave->trigger();
    EXPECT_EQ(prompts_.questions.size(), 2u);
    EXPECT_EQ(ReadFile(unix), QByteArray("a\nb\n"));
}

// A key as a Russian keyboard layout sends it: Qt's key is the Cyrillic capital,
// the native key the layout's keysym. The editor sees the shortcut override
// first and then the press, as the shortcut map delivers them.
void SendRussianKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, quint32 keysym, const QString& text) {
    QKeyEvent override(QEvent::ShortcutOverride, key, modifiers, 0, keysym, 0, text);
    QApplication::sendEvent(target, &override);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, 0, keysym, 0, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, 0, keysym, 0, text);
    QApplication::sendEvent(target, &release);
}

// Typing "й" in a big document, then Ctrl+S and Ctrl+H under the Russian layout
// (once seen to end the program without a word): the letter is saved, the
// replace dialog opens over the saved document and closes, the window lives on.
// PELM_BIG_FILE names a bigger document to run the same path over.
TEST_F(HostileInputTest, RussianLayoutTypeSaveThenReplaceDialog) {
    QString file = qEnvironmentVariable("PELM_BIG_FILE");
    if (file.isEmpty()) {
        QByteArray text;
        for (int i = 0; text.size() < 4 * 1024 * 1024; ++i)
            text += "<p class=\"item\">line " + QByteArray::number(i) + " <a href=\"#x\">link</a></p>\r\n";
        file = WriteFile("big.html", text);
    } else {
        const QString copy = Path("big.html");
        ASSERT_TRUE(QFile::copy(file, copy));
        file = copy;
    }
    auto w = Start({file});
    w->show();
    QWidget* editor = w->snEditor;
    editor->setFocus();
    w->snEditor->Model().SetCaretPos(TBufferCoord{1, 1});
    SendRussianKey(editor, 0x419, Qt::NoModifier, 0x6ca, QStringLiteral("й"));  // Й, Cyrillic_shorti
    EXPECT_EQ(w->snEditor->Lines().Line(0).substr(0, 1), "\xe9");
    EXPECT_TRUE(w->snEditor->Modified());
    SendRussianKey(editor, 0x42b, Qt::ControlModifier, 0x6d9, QStringLiteral("ы"));  // Ctrl+Ы = Ctrl+S
    EXPECT_FALSE(w->snEditor->Modified());
    EXPECT_EQ(ReadFile(file).left(1), QByteArray("\xe9"));
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = true;
            dialog->reject();
        }
    });
    SendRussianKey(editor, 0x420, Qt::ControlModifier, 0x6d2, QStringLiteral("р"));  // Ctrl+Р = Ctrl+H
    EXPECT_TRUE(shown);
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join('\n').toStdString();
    EXPECT_EQ(w->snEditor->Lines().Line(0).substr(0, 1), "\xe9");
}

}  // namespace
}  // namespace pelm::test
