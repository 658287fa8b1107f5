// The main window against hostile settings and files: window bounds off every
// screen, a document name that would inject settings, special files, binary
// files and files whose lines end in more than one way.
#include <QGuiApplication>
#include <QScreen>
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

}  // namespace
}  // namespace pelm::test
