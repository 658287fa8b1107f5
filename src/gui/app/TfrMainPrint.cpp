// The main window's print command, forwarded to its print controller.
#include "gui/app/TPrintController.h"
#include "gui/app/TfrMain.h"

namespace pelm {

void TfrMain::pnkFilePrintClick() { print_->pnkFilePrintClick(); }

}  // namespace pelm
