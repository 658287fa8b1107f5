#pragma once
// The markers of a template ("%cur", "%dat", "%tim", "%gen"), found the way a new
// document expands them: one left-to-right pass over the text, where each
// replacement changes the text the later tests see.
#include <string>
#include <vector>

namespace pelm {

struct TTemplateEdit {
    int offset;               // character offset (each line break counts 2)
    int length;               // characters replaced (always 4)
    std::string replacement;  // "" for "%cur"
};

struct TTemplateExpansion {
    std::vector<TTemplateEdit> edits;  // in the order they are to be applied
    int caretOffset = 0;               // the place of the last "%cur", or 0
};

// text is the document as Lines.Text gives it (lines joined by CR LF).
TTemplateExpansion ScanTemplateMarkers(std::string text, const std::string& date, const std::string& time);

constexpr const char* kGeneratorText = "Vorn Pelm 2.00";

}  // namespace pelm
