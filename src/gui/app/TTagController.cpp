#include "gui/app/TTagController.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "core/authoring/ColorValue.h"
#include "core/authoring/RelativePath.h"
#include "core/config/TIniFile.h"
#include "gui/app/Commands.h"
#include "gui/app/GuiText.h"
#include "gui/app/ShellOpen.h"
#include "gui/app/TfrMain.h"
#include "gui/dialogs/TfrCharInsert.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/panels/TTagPanel.h"
#include "gui/panels/TTagPrompts.h"
#include "gui/ui/TStatusPanel.h"

namespace pelm {

TTagController::TTagController(TfrMain& main, Prompts& prompts)
    : QObject(&main), main_(main), prompts_(prompts) {
    panel_ = new TTagPanel(model_);
    connect(panel_, &TTagPanel::tagChosen, this, &TTagController::cmbTagNameChange);
    connect(panel_->btnTagInsert, &QPushButton::clicked, this, &TTagController::btnTagInsertClick);
    connect(panel_->btnTagHelp, &QToolButton::clicked, this, &TTagController::btnTagHelpClick);
}

TTagController::~TTagController() = default;

bool TTagController::run(const std::function<void()>& command) {
    return RunCommand(&main_, prompts_, command);
}

TTagPrompts& TTagController::tagPrompts() {
    if (!tagPrompts_) {
        ownTagPrompts_ = std::make_unique<TQtTagPrompts>();
        tagPrompts_ = ownTagPrompts_.get();
    }
    return *tagPrompts_;
}

void TTagController::LoadTagList(const QString& programDir) {
    model_.SetTagsFolder(FileNameBytes(programDir + QStringLiteral("Library/Tags/")));
    model_.LoadList(FileNameBytes(programDir + QStringLiteral("Library/Tags/tags.pel")));
    panel_->ShowEntries();
}

void TTagController::ApplyCase(bool upper) {
    model_.ApplyCase(upper);
    const int chosen = model_.Chosen();
    for (int i = 0; i < panel_->cmbTagName->count() && i < static_cast<int>(model_.Entries().size()); ++i)
        panel_->cmbTagName->setItemText(i, FromCp1251(model_.Entries()[static_cast<size_t>(i)]));
    panel_->cmbTagName->setCurrentIndex(chosen);
}

void TTagController::choose(const std::function<void()>& choice) {
    try {
        choice();
    } catch (...) {
        // The rows, the description and the closing text are already the new
        // tag's; the rest of the steps are skipped.
        panel_->ShowChoice();
        throw;
    }
    panel_->ShowChoice();
    if (model_.Chosen() < 0) return;
    panel_->FocusGrid();
    if (pnkHelpTag) {
        pnkHelpTag->setEnabled(model_.HelpItemShown());
        pnkHelpTag->setVisible(model_.HelpItemShown());
    }
    main_.barStatus[3]->setText(FromCp1251(model_.StatusText()));
}

void TTagController::cmbTagNameChange(int index) {
    run([&] { choose([&] { model_.Choose(index); }); });
}

void TTagController::TagSel(const std::string& name, bool insertNow) {
    run([&] {
        main_.pnlTagInsert->show();
        choose([&] { model_.Select(name); });
        if (insertNow) InsTag();
    });
}

std::string TTagController::InsTag() {
    const std::optional<std::string> inserted = model_.InsTag(main_.snEditor->Model());
    if (!inserted) return {};
    main_.ModFlag(true);
    main_.snEditor->setFocus();
    if (main_.SettingsFile() && main_.SettingsFile()->IniReadNumber("Toolbars", "TagInsertHide", 0) == 1)
        main_.pnlTagInsert->hide();
    return *inserted;
}

void TTagController::btnTagInsertClick() {
    run([&] { InsTag(); });
}

void TTagController::btnTagHelpClick() {
    ShellOpen(&main_, QStringLiteral("hh.exe"),
              main_.ProgramDir() + QStringLiteral("Help/Tags.chm::/") + FromCp1251(model_.HelpTopic()));
}

void TTagController::pnkServiceShowInsertTagPanelClick() {
    if (main_.pnlTagInsert->isHidden()) main_.pnlTagInsert->show();
    panel_->cmbTagName->setFocus();
    panel_->cmbTagName->showPopup();
}

void TTagController::pnkTagCommentClick() {
    run([&] { InsertComment(main_.snEditor->Model()); });
}

void TTagController::pnkCharInsertClick() {
    run([&] {
        TfrCharInsert dialog(main_.SettingsFile(), &main_.snEditor->Model(), &main_);
        dialog.exec();
    });
}

void TTagController::WriteValue(const std::string& value) {
    model_.WriteCurrentValue(value);
    panel_->ShowRows();
}

void TTagController::pnkPropColorSelectClick() {
    run([&] {
        // A bad digit raises here, before the dialog opens.
        if (const std::optional<uint32_t> start = MixerStartColor(model_.CurrentValue()))
            dlgColor = QColor(*start & 0xFF, (*start >> 8) & 0xFF, (*start >> 16) & 0xFF);
        const std::optional<QColor> chosen = tagPrompts().pickColor(&main_, dlgColor);
        if (!chosen) return;
        dlgColor = chosen->toRgb();
        WriteValue(HtmlColor(static_cast<uint32_t>(dlgColor.red()) | static_cast<uint32_t>(dlgColor.green()) << 8 |
                             static_cast<uint32_t>(dlgColor.blue()) << 16));
    });
}

void TTagController::pnkPropBrowseClick() {
    run([&] {
        const bool hasFile = main_.DocFileName() != NewDocumentName;
        BrowseRequest request;
        request.title = QStringLiteral("Выберите файл для вставки в тег");
        if (hasFile) {
            const qsizetype slash = main_.DocFileName().lastIndexOf(QLatin1Char('/'));
            if (slash >= 0) request.folder = main_.DocFileName().left(slash + 1);
        }
        request.filters = {
            {QStringLiteral("Все файлы"), QStringLiteral("*")},
            {QStringLiteral("Веб-страницы"), QStringLiteral("*.html; *.htm; *.dhtml")},
            {QStringLiteral("Картинки"), QStringLiteral("*.gif; *.jpeg; *.jpg; *.png")},
            {QStringLiteral("Скрипты"), QStringLiteral("*.js")},
            {QStringLiteral("Файлы"), QStringLiteral("*.msi; *.rar; *.zip; *.exe; *.7z; *.tar; *.gz")},
        };
        const QString chosen = tagPrompts().browseFile(&main_, request);
        if (chosen.isEmpty()) return;
        const std::string doc = hasFile ? FileNameBytes(main_.DocFileName()) : std::string();
        const std::string file = FileNameBytes(chosen);
        // The path goes into the document as text: file names are bytes of
        // the file system, the document's text Windows-1251.
        const std::string relative = RelativeFileName(doc, file, OnSameMount(doc, file));
        WriteValue(ToCp1251(FileNameFromBytes(relative)));
    });
}

}  // namespace pelm
