#include "gui/app/Commands.h"

#include "gui/app/GuiText.h"
#include "gui/app/Prompts.h"

namespace pelm {

bool RunCommand(QWidget* owner, Prompts& prompts, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        prompts.showError(owner, MessageText(e.what()));
    }
    return false;
}

}  // namespace pelm
