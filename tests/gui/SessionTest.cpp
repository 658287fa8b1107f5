// The document session tells whoever listens (the status bar today; the tag
// panel, the preview and the recovery journal later) of each change of the
// text, of the modified flag, of the file name and of the kind.
#include <QStringList>

#include "MainWindowFixture.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm::test {
namespace {

using SessionTest = MainWindowFixture;

TEST_F(SessionTest, ListenersHearEditsSavesAndOpens) {
    auto w = Start();
    TDocumentSession& s = w->Session();
    QStringList log;
    s.OnChange.Subscribe([&] { log << QStringLiteral("change %1").arg(s.Modified()); });
    const TListenerToken flag =
        s.OnModifiedChanged.Subscribe([&](bool m) { log << QStringLiteral("modified %1").arg(m); });
    s.OnTitleChanged.Subscribe([&] { log << QStringLiteral("title ") + FileNamePart(w->DocFileName()); });
    s.OnKindChanged.Subscribe([&](DocumentKind) { log << QStringLiteral("kind ") + w->barStatus[2]->text(); });

    // A typed key: the flag is set before the change is told.
    w->snEditor->Model().PerformCommand(ecChar, 'x');
    EXPECT_EQ(log, QStringList({"modified 1", "change 1"}));

    log.clear();
    const QString saved = Path("page.css");
    prompts_.saveNames = {saved};
    w->pnkFileSaveClick();  // a new document: Save As
    EXPECT_EQ(log, QStringList({"modified 0", "title page.css"}));

    // Opening: title, then kind, the window's own panels already updated.
    log.clear();
    s.OnModifiedChanged.Unsubscribe(flag);
    w->OpenFrom(saved, true, ".css");
    EXPECT_EQ(log, QStringList({"title page.css", "kind CSS"}));
    EXPECT_TRUE(prompts_.errors.isEmpty()) << prompts_.errors.join("\n").toStdString();
}

}  // namespace
}  // namespace pelm::test
