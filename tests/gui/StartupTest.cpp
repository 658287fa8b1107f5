// Start-up: the command line (--help, --version, the first file name only) and
// Qt's own buttons and dialogs in Russian while dates keep the user's locale.
#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

#include "gui/app/CommandLine.h"
#include "gui/app/QtTranslations.h"

namespace pelm::test {
namespace {

TEST(CommandLine, OptionsAndTheFirstFileName) {
    struct Case {
        std::vector<std::string> args;
        const char* printStarts;  // nullptr: a normal start
        int fileIndex;
    } cases[] = {
        {{}, nullptr, -1},
        {{"page.html"}, nullptr, 0},
        {{"page.html", "second.css"}, nullptr, 0},
        {{"--help"}, "Использование: pelm [ФАЙЛ]", -1},
        {{"-h"}, "Использование: pelm [ФАЙЛ]", -1},
        {{"page.html", "--version"}, "Pelm2, версия 2.00", -1},
        {{"--version", "--help"}, "Pelm2, версия 2.00", -1},
        // "--" ends the options: what follows is a file name, even "--help".
        {{"--", "--help"}, nullptr, 1},
        {{"--"}, nullptr, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0]);
        const CommandLine line = ParseCommandLine(c.args);
        if (c.printStarts) {
            EXPECT_EQ(line.printAndExit.rfind(c.printStarts, 0), 0u) << line.printAndExit;
        } else {
            EXPECT_TRUE(line.printAndExit.empty());
            EXPECT_EQ(line.fileIndex, c.fileIndex);
        }
    }
}

// Removes the translators at the end, so that the other tests see Qt's texts
// untranslated whatever order they run in.
struct Translations {
    QList<QTranslator*> installed = InstallQtTranslations();
    ~Translations() {
        for (QTranslator* t : installed) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

TEST(QtTranslations, MessageBoxButtonsInRussianDatesInUserLocale) {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm")))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    const QString dateBefore = QLocale().toString(QDate(2026, 12, 11), QLocale::LongFormat);
    {
        Translations translations;
        ASSERT_FALSE(translations.installed.isEmpty());
        QMessageBox box(QMessageBox::Question, QStringLiteral("Pelm2"), QStringLiteral("Сохранить изменения?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.show();
        QApplication::processEvents();
        EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Да"));
        EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Нет"));
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Отмена"));
        // Qt's Russian catalogue keeps "OK", which reads the same in Cyrillic.
        QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Close);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text().remove(QLatin1Char('&')), QStringLiteral("Сохранить"));
        EXPECT_EQ(buttons.button(QDialogButtonBox::Close)->text().remove(QLatin1Char('&')), QStringLiteral("Закрыть"));
        // Only texts are translated: the user's locale formats stay.
        EXPECT_EQ(QLocale().toString(QDate(2026, 12, 11), QLocale::LongFormat), dateBefore);
        const QString shot = qEnvironmentVariable("PELM_SCREENSHOTS");
        if (!shot.isEmpty()) box.grab().save(shot + QStringLiteral("/messagebox-ru.png"));
    }
    QMessageBox after(QMessageBox::Question, QString(), QString(), QMessageBox::Yes);
    EXPECT_EQ(after.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Yes"));
}

}  // namespace
}  // namespace pelm::test
