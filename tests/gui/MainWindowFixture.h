#pragma once
// A main window over a program folder of its own: a temporary directory with
// Library/Tags/tags.pel and a small HTML template, and prompts the test answers.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "ScriptedPrompts.h"
#include "gui/app/GuiText.h"
#include "gui/app/TfrMain.h"
#include "gui/editor/TCodeEdit.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pelm::test {

// The document's text as the user reads it, lines joined by LF.
inline QString Text(TfrMain& w) {
    QStringList lines;
    const TCodeEditStringList& buffer = w.snEditor->Lines();
    for (int i = 0; i < buffer.Count(); ++i) lines << FromCp1251(buffer.Line(i));
    return lines.join(QLatin1Char('\n'));
}

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        WriteFile("Library/Tags/tags.pel", ">Text\r\nA\r\nB\r\n");
        WriteFile("Library/Templates/HTML.pel", "<html>\r\n<title>%gen</title>\r\n%cur\r\n</html>\r\n");
    }

    QString ProgramDir() const { return dir_.path() + QLatin1Char('/'); }
    QString Path(const QString& relative) const { return ProgramDir() + relative; }

    QString WriteFile(const QString& relative, const QByteArray& bytes) {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        f.write(bytes);
        return path;
    }

    QByteArray ReadFile(const QString& path) const {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll();
    }

    std::unique_ptr<TfrMain> Start(const QStringList& arguments = {}) {
        return std::make_unique<TfrMain>(&prompts_, ProgramDir(), arguments);
    }

    ScriptedPrompts prompts_;

private:
    QTemporaryDir dir_;
};

}  // namespace pelm::test
