#include "core/document/TemplateMarkers.h"

namespace pelm {

TTemplateExpansion ScanTemplateMarkers(std::string text, const std::string& date, const std::string& time) {
    TTemplateExpansion out;
    auto at = [&](size_t p, const char* marker) { return text.compare(p, 4, marker) == 0; };
    auto replace = [&](size_t p, const std::string& with) {
        out.edits.push_back({static_cast<int>(p), 4, with});
        text.replace(p, 4, with);
    };
    for (size_t p = 0; p < text.size(); ++p) {
        if (at(p, "%cur")) {
            replace(p, "");
            out.caretOffset = static_cast<int>(p);
        }
        if (at(p, "%dat")) replace(p, date);
        if (at(p, "%tim")) replace(p, time);
        if (at(p, "%gen")) replace(p, kGeneratorText);
    }
    return out;
}

}  // namespace pelm
