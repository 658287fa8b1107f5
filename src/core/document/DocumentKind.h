#pragma once
// The kind of the open document. It is not stored on its own: it is the
// highlighter attached to the editor, named in status panel 2.
#include <optional>
#include <string>
#include <string_view>

namespace pelm {

enum class DocumentKind { HTML, CSS, XML, JavaScript, PHP, Perl };
constexpr int kDocumentKindCount = 6;

// The queries below up to KindSavePreset are answered by the language registry
// (core/highlight/LanguageRegistry.cpp), which holds each kind's table row.

// The kind an extension string selects ("html", ".htm", "perl" ...), compared
// exactly; any other string selects none.
std::optional<DocumentKind> KindOfExtension(std::string_view ext);
// Status panel 2: "HTML", "CSS", "XML", "JScript", "PHP", "Perl".
const char* KindStatusText(DocumentKind k);
std::optional<DocumentKind> KindOfStatusText(std::string_view text);

// The template of a new document of each kind: its key in section "Templates",
// the default file and the extension the New command passes on.
struct TKindTemplate {
    const char* key;
    const char* defaultFile;
    const char* extension;
};
const TKindTemplate& KindTemplate(DocumentKind k);

// The Save As preset: filter index (1-based) and default extension.
struct TSavePreset {
    int filterIndex;
    const char* defaultExt;
};
TSavePreset KindSavePreset(DocumentKind k);

// The platform's extension of a file name, dot included (".html"), lower-cased in
// the code page; "" when the name has none.
std::string LowerCaseExtension(const std::string& fileName);

}  // namespace pelm
