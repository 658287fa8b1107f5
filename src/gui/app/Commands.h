#pragma once
// The boundary of a command: every handler of a menu item, button or event
// runs its work through RunCommand. An error abandons the command and shows its
// message in the application's error box; EAbort abandons it silently (the user
// cancelled). Either way the program goes on.
#include <exception>
#include <functional>

class QWidget;

namespace pelm {

class Prompts;

class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// True when the command ran to its end.
bool RunCommand(QWidget* owner, Prompts& prompts, const std::function<void()>& command);

}  // namespace pelm
