#pragma once
// The markers of a template ("%cur", "%dat", "%tim", "%gen"), expanded the way a
// new document expands them: one left-to-right pass over the text, where each
// replacement changes the text the later tests see.
#include <string>
#include <vector>

namespace pelm {

// The document the markers are expanded in. Text() is the text as it stands
// (lines joined by CR LF; offsets count each line break as 2). Replace may
// change more than the characters it is given (an editor drops the blanks a
// deletion leaves at a line's end), so the scan reads the text anew after
// every replacement rather than working out offsets in advance.
class TTemplateDocument {
public:
    virtual ~TTemplateDocument() = default;
    virtual std::string Text() const = 0;
    virtual void Replace(int offset, int length, const std::string& with) = 0;
};

// Expands every marker and returns the caret offset: the place of the last
// "%cur", or 0 when there is none.
int ExpandTemplateMarkers(TTemplateDocument& document, const std::string& date, const std::string& time);

struct TTemplateEdit {
    int offset;               // character offset (each line break counts 2)
    int length;               // characters replaced (always 4)
    std::string replacement;  // "" for "%cur"
};

struct TTemplateExpansion {
    std::vector<TTemplateEdit> edits;  // in the order they are to be applied
    int caretOffset = 0;               // the place of the last "%cur", or 0
};

// The expansion of a plain text, whose replacements change nothing else.
TTemplateExpansion ScanTemplateMarkers(std::string text, const std::string& date, const std::string& time);

constexpr const char* kGeneratorText = "Vorn Pelm 2.00";

}  // namespace pelm
