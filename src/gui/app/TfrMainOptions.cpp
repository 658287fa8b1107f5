// ApplyOptions: the settings of pelm.ini pushed into the window, in a fixed
// order. The values and their defaults and "on" tests are read by the core
// (ReadAppOptions); this file only hands them to the controls.
#include <QAction>
#include <QComboBox>
#include <QMenu>

#include "core/config/TIniFile.h"
#include "core/platform/Cp1251.h"
#include "gui/app/GuiText.h"
#include "gui/app/TTagController.h"
#include "gui/app/TfrMain.h"
#include "gui/editor/TCodeEdit.h"
#include "gui/ui/Themes.h"

namespace pelm {

void TfrMain::ApplyOptions() {
    // 1: the template paths (TemplatePath reads them from options_).
    options_ = ReadAppOptions(*settingsFile_);

    // 2-6: the editor's display; the editor keeps the tab width within 1..256.
    snEditor->SetRightEdge(options_.RightEdge);
    snEditor->SetActiveLineColor(options_.ActiveLineColor);
    snEditor->SetShowLineNumbers(options_.ShowLineNumbers);
    snEditor->SetTabWidth(options_.TabWidth);
    snEditor->SetWordWrap(options_.WordWrap);

    // 7: the recent-files maximum; entries beyond it drop off at once.
    mruOpenRecent_.SetMaxItems(options_.OpenHistory);

    // 8: a theme name that is not registered keeps the current theme.
    SetTheme(options_.Theme);
    snEditor->setPalette(DocumentPalette());

    // 9-11: the external browsers' items; exactly "Undefined" means none.
    pnkFilePreview1st->setText(FromCp1251(options_.Browser1Name));
    pnkFilePreview2nd->setText(FromCp1251(options_.Browser2Name));
    for (QAction* item : {pnkFilePreview1st, pnkFilePreview2nd}) {
        const bool named = BrowserNamed(ToCp1251(item->text()));
        item->setEnabled(named);
        item->setVisible(named);
    }

    // 12-13: the autocorrect pairs (the list replaced as a whole) and its switch.
    snAutoCorrect.Items = options_.Autocorrect;
    snAutoCorrect.Enabled = options_.AutocorrectEnabled;

    // 14: the tag list in one case, headers included.
    tags_->ApplyCase(options_.UpperCaseTags);
}

}  // namespace pelm
