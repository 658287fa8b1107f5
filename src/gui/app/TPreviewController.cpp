#include "gui/app/TPreviewController.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <exception>

#include "core/config/TIniFile.h"
#include "core/encoding/TDocumentCodec.h"
#include "core/encoding/TextEncoding.h"
#include "gui/app/Commands.h"
#include "gui/app/GuiText.h"
#include "gui/app/Prompts.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/TfrMain.h"
#include "gui/app/TfrMainEncoding.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/preview/TfrPreview.h"

namespace pelm {

QString NewDocumentPreviewFolder(const QString& programDir) {
    const QFileInfo dir(programDir);
    if (dir.isDir() && dir.isWritable()) return programDir.endsWith(QLatin1Char('/')) ? programDir : programDir + '/';
    QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) cache = QDir::tempPath();
    QDir().mkpath(cache);
    return cache + QLatin1Char('/');
}

TPreviewController::TPreviewController(TfrMain& main, Prompts& prompts) : main_(main), prompts_(prompts) {}

TPreviewController::~TPreviewController() = default;

void TPreviewController::CreateMenus() {
    QMenu* submenu = main_.pnkFilePreview;
    QAction* first = submenu->actions().isEmpty() ? nullptr : submenu->actions().first();
    pnkFilePreviewPelm = new QAction(QStringLiteral("&Встроенный браузер"), &main_);
    pnkFilePreviewPelm->setObjectName(QStringLiteral("pnkFilePreviewPelm"));
    pnkFilePreviewPelm->setShortcut(QKeySequence(Qt::Key_F9));
    pnkFilePreviewPelm->setShortcutContext(Qt::WindowShortcut);
    main_.addAction(pnkFilePreviewPelm);
    submenu->insertAction(first, pnkFilePreviewPelm);
    submenu->insertSeparator(first);
    connect(pnkFilePreviewPelm, &QAction::triggered, this, &TPreviewController::pnkFilePreviewPelmClick);
    connect(main_.pnkFilePreview1st, &QAction::triggered, this, &TPreviewController::pnkFilePreview1stClick);
    connect(main_.pnkFilePreview2nd, &QAction::triggered, this, &TPreviewController::pnkFilePreview2ndClick);

    // The toolbar button follows Print, before the separator of the edit buttons.
    const QStyle* style = QApplication::style();
    pnktbxFilePreviewPelm = new QAction(
        QIcon::fromTheme(QStringLiteral("document-print-preview"), style->standardIcon(QStyle::SP_FileDialogContentsView)),
        QStringLiteral("Просмотр"), &main_);
    pnktbxFilePreviewPelm->setObjectName(QStringLiteral("pnktbxFilePreviewPelm"));
    pnktbxFilePreviewPelm->setToolTip(QStringLiteral("Предварительный просмотр (F9)"));
    connect(pnktbxFilePreviewPelm, &QAction::triggered, this, &TPreviewController::pnkFilePreviewPelmClick);
    QAction* before = nullptr;
    const QList<QAction*> items = main_.tbxStandart->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i]->objectName() != QLatin1String("pnktbxEditCut")) continue;
        before = i > 0 && items[i - 1]->isSeparator() ? items[i - 1] : items[i];
    }
    main_.tbxStandart->insertAction(before, pnktbxFilePreviewPelm);
}

QString TPreviewController::computePreviewFileName() const {
    const QString& doc = main_.DocFileName();
    if (doc != NewDocumentName) return doc + QStringLiteral("-preview.htm");
    return NewDocumentPreviewFolder(main_.ProgramDir()) + NewDocumentName + QStringLiteral("-preview.htm");
}

void TPreviewController::writePage(const QString& fileName) {
    TCodeEditStringList& lines = main_.snEditor->Lines();
    TEncodingController* encoding = main_.Encoding();
    // A text the document's encoding cannot hold would abandon the write: the
    // page then goes out as UTF-8 with a byte-order mark, which a browser
    // believes before any charset the page declares.
    if (encoding && encoding->Codec().FindUnencodable(lines)) {
        encoding::TDocumentCodec utf8;
        utf8.SetEncoding(encoding::Utf8(true));
        TTextFileCodec* attached = lines.FileCodec();
        lines.SetFileCodec(&utf8);
        try {
            lines.SaveTextFile(FileNameBytes(fileName));
        } catch (...) {
            lines.SetFileCodec(attached);
            throw;
        }
        lines.SetFileCodec(attached);
        return;
    }
    lines.SaveTextFile(FileNameBytes(fileName));
}

void TPreviewController::SaveTempPreview() {
    previewFileName_ = computePreviewFileName();
    writePage(previewFileName_);
}

void TPreviewController::pnkFilePreviewPelmClick() {
    try {
        SaveTempPreview();
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& e) {
        prompts_.showError(&main_, MessageText(e.what()));
        return;
    }
    {
        TfrPreview frPreview(previewFileName_, &main_);
        frPreview.OnError = [this, &frPreview](const QString& message) { prompts_.showError(&frPreview, message); };
        if (OnPreviewShown) OnPreviewShown(frPreview);
        else frPreview.exec();
    }
    // A page that cannot be deleted is left behind without a word.
    QFile::remove(previewFileName_);
}

void TPreviewController::ExternalBrowser(int n) {
    // The item of an unnamed browser is hidden and disabled; its key as well.
    QAction* item = n == 1 ? main_.pnkFilePreview1st : main_.pnkFilePreview2nd;
    if (!item->isEnabled()) return;
    try {
        SaveTempPreview();
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& e) {
        prompts_.showError(&main_, MessageText(e.what()));
        return;
    }
    const std::string key = std::to_string(n) + "_exe";
    const QString program = FileNameFromBytes(main_.SettingsFile()->IniRead("Browsers", key, "iexplore.exe"));
    // The page goes to the program as one argument of its own, whatever
    // blanks or quotes its name holds. A program that cannot be found (the
    // default "iexplore.exe" here) gives way to the desktop's own browser.
    ShellOpenPlan plan = PlanShellOpen(program, QString());
    if (plan.action == ShellOpenPlan::StartProgram) {
        plan.arguments = QStringList{previewFileName_};
    } else {
        plan = ShellOpenPlan();
        plan.url = QUrl::fromLocalFile(previewFileName_);
    }
    RunShellOpenPlan(plan);
}

}  // namespace pelm
