#include "gui/app/TfrMainEncoding.h"

#include "core/document/CaretMemory.h"

#include <QActionGroup>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>

#include "core/config/TIniFile.h"
#include "core/editor/TCodeEditStringList.h"
#include "core/platform/Errors.h"
#include "gui/app/Commands.h"
#include "gui/app/GuiText.h"
#include "gui/app/TfrMain.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm {

using namespace encoding;

namespace {

QString encodingName(const TextEncoding& e) { return QString::fromStdString(DisplayName(e)); }

// «→» (U+2192)
QString characterText(char32_t cp) {
    const QString shown = cp >= 0x20 && cp != 0x7F && !(cp >= 0x80 && cp < 0xA0) ? QString::fromUcs4(&cp, 1) : QString();
    const QString code = QStringLiteral("U+%1").arg(static_cast<uint>(cp), 4, 16, QLatin1Char('0')).toUpper();
    return shown.isEmpty() ? code : QStringLiteral("«") + shown + QStringLiteral("» (") + code + QLatin1Char(')');
}

QString bytesText(const std::string& bytes) {
    QStringList hex;
    for (unsigned char b : bytes) hex << QStringLiteral("0x%1").arg(b, 2, 16, QLatin1Char('0')).toUpper().replace(QStringLiteral("0X"), QStringLiteral("0x"));
    return hex.join(QLatin1Char(' '));
}

}  // namespace

TEncodingController::TEncodingController(TfrMain& main) : main_(main) {
    main_.snEditor->Lines().SetFileCodec(&codec_);

    barEncoding = new TStatusPanel(QStringLiteral("Кодировка"), 0, Qt::ElideNone);
    barEncoding->setObjectName(QStringLiteral("barEncoding"));
    barEncoding->setCursor(Qt::PointingHandCursor);
    barEncoding->installEventFilter(this);
    main_.statusBar()->addWidget(barEncoding);

    pnkServiceEncoding = main_.pnkService->addMenu(QStringLiteral("Кодировка"));
    pnkServiceEncoding->setObjectName(QStringLiteral("pnkServiceEncoding"));
    pnkServiceEncodingReopen = pnkServiceEncoding->addMenu(QStringLiteral("Открыть заново в кодировке…"));
    pnkServiceEncodingReopen->setObjectName(QStringLiteral("pnkServiceEncodingReopen"));
    pnkServiceEncodingSave = pnkServiceEncoding->addMenu(QStringLiteral("Сохранять в кодировке…"));
    pnkServiceEncodingSave->setObjectName(QStringLiteral("pnkServiceEncodingSave"));
    auto* saveGroup = new QActionGroup(this);
    saveGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const TextEncoding& e : ChoosableEncodings()) {
        QAction* reopen = pnkServiceEncodingReopen->addAction(encodingName(e));
        connect(reopen, &QAction::triggered, this, [this, e] { ReopenIn(e); });
        QAction* save = pnkServiceEncodingSave->addAction(encodingName(e));
        save->setCheckable(true);
        saveGroup->addAction(save);
        connect(save, &QAction::triggered, this, [this, e] { SaveIn(e); });
    }
    pppEncoding = new QMenu(barEncoding);
    pppEncoding->setObjectName(QStringLiteral("pppEncoding"));
    pppEncoding->addMenu(pnkServiceEncodingReopen);
    pppEncoding->addMenu(pnkServiceEncodingSave);
    connect(pnkServiceEncoding, &QMenu::aboutToShow, this, &TEncodingController::updateItems);
    connect(pppEncoding, &QMenu::aboutToShow, this, &TEncodingController::updateItems);
    showEncoding();
}

TEncodingController::~TEncodingController() { main_.snEditor->Lines().SetFileCodec(nullptr); }

bool TEncodingController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == barEncoding && event->type() == QEvent::MouseButtonRelease) {
        pppEncoding->popup(QCursor::pos());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

std::optional<std::string> TEncodingController::memoryKey(const QString& fileName) {
    return FileMemoryKey(FileNameBytes(fileName), "_Encoding");
}

void TEncodingController::BeforeLoad(const QString& fileName, bool setName) {
    LoadPlan plan;
    plan.guess = setName;
    if (reopenWith_) {
        plan.forced = std::exchange(reopenWith_, std::nullopt);
    } else if (const auto key = memoryKey(fileName); setName && key && main_.SettingsFile()) {
        const std::string stored = main_.SettingsFile()->IniRead("Filez", *key, std::string());
        if (!stored.empty()) plan.remembered = ParseEncodingName(stored);
    }
    codec_.PlanNextLoad(plan);
}

void TEncodingController::AfterLoad() {
    const LoadReport& report = codec_.LastLoad();
    chosen_ = report.source == DetectionSource::Chosen || report.source == DetectionSource::Remembered;
    readOnly_ = report.problem.has_value();
    main_.snEditor->SetReadOnly(readOnly_);
    showEncoding();
    if (!readOnly_) return;
    const DecodeProblem& p = *report.problem;
    const QString where = QStringLiteral(" в строке %1").arg(p.line);
    QString what;
    if (p.invalidBytes)
        what = QStringLiteral("Байты ") + bytesText(p.bytes) + where + QStringLiteral(" не являются текстом в кодировке ") +
               encodingName(report.encoding) + QLatin1Char('.');
    else
        what = QStringLiteral("Символ ") + characterText(p.codePoint) + where +
               QStringLiteral(" нельзя представить в Windows-1251, кодировке редактора.");
    main_.prompts_->showError(&main_, what + QStringLiteral(
        " Файл открыт только для чтения: его можно читать, искать в нём и копировать текст, "
        "но сохранить его нельзя. Можно открыть его заново в другой кодировке (Сервис → Кодировка)."));
}

void TEncodingController::BeforeSave() {
    if (readOnly_)
        throw EError(QStringLiteral("Файл открыт только для чтения: редактор показывает не весь его текст, "
                                    "и сохранение испортило бы файл.").toStdString());
    const auto problem = codec_.FindUnencodable(main_.snEditor->Lines());
    if (!problem) return;
    const QString text = QStringLiteral("Символ ") + characterText(problem->codePoint) +
                         QStringLiteral(" в строке %1 нельзя записать в кодировке ").arg(problem->line) +
                         encodingName(codec_.Encoding()) + QStringLiteral(".\nСохранить файл в UTF-8?");
    if (main_.prompts_->askYesNoCancel(&main_, QStringLiteral("Вопрос"), text) != PromptAnswer::Yes) throw EAbort();
    codec_.SetEncoding(Utf8(false));
    chosen_ = true;
    showEncoding();
}

void TEncodingController::Remember() {
    if (!chosen_ || main_.DocFileName() == NewDocumentName || !main_.SettingsFile()) return;
    if (const auto key = memoryKey(main_.DocFileName()))
        main_.SettingsFile()->IniWrite("Filez", *key, DisplayName(codec_.Encoding()));
}

void TEncodingController::ReopenIn(const TextEncoding& e) {
    main_.run([&] {
        if (main_.DocFileName() == NewDocumentName) return;
        if (main_.snEditor->Modified()) {
            main_.CheckFileSave();
            // "No" drops the changes: the reload below asks nothing more.
            main_.ModFlag(false);
        }
        reopenWith_ = e;
        try {
            main_.OpenFrom(main_.DocFileName(), true, "!!!");
        } catch (...) {
            reopenWith_.reset();
            throw;
        }
        Remember();
    });
}

void TEncodingController::SaveIn(const TextEncoding& e) {
    if (readOnly_ || e == codec_.Encoding()) {
        updateItems();
        return;
    }
    codec_.SetEncoding(e);
    chosen_ = true;
    showEncoding();
    // The file on disk is not in the chosen encoding until the next save.
    main_.ModFlag(true);
}

void TEncodingController::showEncoding() {
    barEncoding->setText(encodingName(codec_.Encoding()));
    barEncoding->setToolTip(readOnly_ ? QStringLiteral("Кодировка (файл открыт только для чтения)")
                                      : QStringLiteral("Кодировка"));
    updateItems();
}

void TEncodingController::updateItems() {
    const bool named = main_.DocFileName() != NewDocumentName;
    pnkServiceEncodingReopen->setEnabled(named);
    pnkServiceEncodingSave->setEnabled(!readOnly_);
    const auto& list = ChoosableEncodings();
    const auto actions = pnkServiceEncodingSave->actions();
    for (int i = 0; i < actions.size() && i < static_cast<int>(list.size()); ++i)
        actions[i]->setChecked(list[static_cast<size_t>(i)] == codec_.Encoding());
}

}  // namespace pelm
