#include "core/document/TemplateMarkers.h"

namespace pelm {

int ExpandTemplateMarkers(TTemplateDocument& document, const std::string& date, const std::string& time) {
    std::string text = document.Text();
    int caret = 0;
    // A replacement may leave the text shorter than the position (the blanks
    // before a deleted marker at the very end are dropped with it).
    auto at = [&](size_t p, const char* marker) { return p + 4 <= text.size() && text.compare(p, 4, marker) == 0; };
    auto replace = [&](size_t p, const std::string& with) {
        document.Replace(static_cast<int>(p), 4, with);
        text = document.Text();
    };
    // The end moves with the replacements; each test sees what the one before left.
    for (size_t p = 0; p < text.size(); ++p) {
        if (at(p, "%cur")) {
            replace(p, "");
            caret = static_cast<int>(p);
        }
        if (at(p, "%dat")) replace(p, date);
        if (at(p, "%tim")) replace(p, time);
        if (at(p, "%gen")) replace(p, kGeneratorText);
    }
    return caret;
}

namespace {

class TStringDocument : public TTemplateDocument {
public:
    explicit TStringDocument(std::string text) : text_(std::move(text)) {}
    std::string Text() const override { return text_; }
    void Replace(int offset, int length, const std::string& with) override {
        edits.push_back({offset, length, with});
        text_.replace(static_cast<size_t>(offset), static_cast<size_t>(length), with);
    }
    std::vector<TTemplateEdit> edits;

private:
    std::string text_;
};

}  // namespace

TTemplateExpansion ScanTemplateMarkers(std::string text, const std::string& date, const std::string& time) {
    TStringDocument document(std::move(text));
    TTemplateExpansion out;
    out.caretOffset = ExpandTemplateMarkers(document, date, time);
    out.edits = std::move(document.edits);
    return out;
}

}  // namespace pelm
