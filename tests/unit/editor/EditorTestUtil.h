#pragma once
// Marker notation for editor tests: a text with "[" and "]" at the two ends of
// the selection and "|" at the caret, lines separated by "\n". "~" before the
// caret stands for one column of virtual space past the end of the line.
//
// Steps are typed characters with commands in braces: "ab{Enter}{S-Left}".
#include <string>
#include <string_view>

#include "core/editor/TCustomCodeEdit.h"

namespace editortest {

// Replaces the buffer, caret and selection; the undo lists start empty.
void Load(pelm::TCustomCodeEdit& e, std::string_view marked);
// The buffer with the caret and the selection marked.
std::string Show(const pelm::TCustomCodeEdit& e);
// Runs the steps: characters become ecChar, {Name} a command.
void Keys(pelm::TCustomCodeEdit& e, std::string_view steps);
// Load, Keys, Show.
std::string Apply(pelm::TCustomCodeEdit& e, std::string_view marked, std::string_view steps);

}  // namespace editortest
