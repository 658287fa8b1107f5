// The main window's tag commands, by the names the window gives them; the work
// is the tag controller's.
#include "gui/app/TTagController.h"
#include "gui/app/TfrMain.h"

namespace pelm {

void TfrMain::TagSel(const std::string& name, bool insertNow) { tags_->TagSel(name, insertNow); }
std::string TfrMain::InsTag() { return tags_->InsTag(); }
void TfrMain::cmbTagNameChange(int index) { tags_->cmbTagNameChange(index); }
void TfrMain::btnTagInsertClick() { tags_->btnTagInsertClick(); }
void TfrMain::btnTagHelpClick() { tags_->btnTagHelpClick(); }
void TfrMain::pnkServiceShowInsertTagPanelClick() { tags_->pnkServiceShowInsertTagPanelClick(); }
void TfrMain::pnkTagCommentClick() { tags_->pnkTagCommentClick(); }
void TfrMain::pnkCharInsertClick() { tags_->pnkCharInsertClick(); }
const std::string& TfrMain::TagHelpTopic() const { return tags_->TagHelpTopic(); }

}  // namespace pelm
