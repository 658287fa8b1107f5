#pragma once
// The six kinds of document and what belongs to each: the status text of
// panel 2, the extensions that select it, its template key and file, the
// extension its New command passes, and its preset in the Save As dialog.
#include <optional>
#include <string_view>

namespace pelm {

enum class DocumentKind { HTML, CSS, XML, JavaScript, PHP, Perl };

constexpr int DocumentKindCount = 6;

struct DocumentKindInfo {
    DocumentKind kind;
    const char* statusText;       // panel 2: "HTML", "CSS", "XML", "JScript", "PHP", "Perl"
    const char* templateKey;      // key in section "Templates"
    const char* defaultTemplate;  // file in Library/Templates/ when the key is missing
    const char* newExtension;     // what the New command passes to OpenFrom
    int saveFilterIndex;          // 1-based filter of the Save As dialog
    const char* saveDefaultExt;
};

const DocumentKindInfo& KindInfo(DocumentKind kind);

// Exact comparison with the extension table ("htm", ".htm", "perl" ...); any
// other text, "" included, selects nothing.
std::optional<DocumentKind> KindFromExtension(std::string_view ext);
std::optional<DocumentKind> KindFromStatusText(std::string_view text);

}  // namespace pelm
