#include "core/highlight/LanguageRegistry.h"

#include "core/highlight/TCssHighlighter.h"
#include "core/highlight/THTMLHighlighter.h"
#include "core/highlight/TJScriptHighlighter.h"
#include "core/highlight/TPHPHighlighter.h"
#include "core/highlight/TPerlHighlighter.h"
#include "core/highlight/TXMLHighlighter.h"

namespace pelm {

namespace {

template <class T>
std::unique_ptr<TLanguageHighlighter> make() {
    return std::make_unique<T>();
}

constexpr const char* kHtmlExt[] = {"html", "htm", ".html", ".htm"};
constexpr const char* kCssExt[] = {"css", ".css"};
constexpr const char* kXmlExt[] = {"xml", ".xml", "xsd", ".xsd", "wml", ".wml", "xslt", ".xslt", "dtd", ".dtd"};
constexpr const char* kJsExt[] = {"js", ".js"};
constexpr const char* kPhpExt[] = {"php", ".php", "php3", ".php3", "phtml", ".phtml", "inc", ".inc"};
constexpr const char* kPerlExt[] = {"perl", "pl", ".pl", "pm", ".pm", "cgi", ".cgi"};

const TLanguageEntry kLanguages[] = {
    {DocumentKind::HTML, "HTML", kHtmlExt, {1, "htm"}, "html", make<THTMLHighlighter>, true},
    {DocumentKind::CSS, "CSS", kCssExt, {2, "css"}, "css", make<TCssHighlighter>, false},
    {DocumentKind::XML, "XML", kXmlExt, {3, "xml"}, "xml", make<TXMLHighlighter>, true},
    {DocumentKind::JavaScript, "JScript", kJsExt, {4, "js"}, "js", make<TJScriptHighlighter>, true},
    {DocumentKind::PHP, "PHP", kPhpExt, {5, "php"}, "php", make<TPHPHighlighter>, true},
    {DocumentKind::Perl, "Perl", kPerlExt, {6, "cgi"}, "perl", make<TPerlHighlighter>, true},
};
static_assert(std::size(kLanguages) == kDocumentKindCount);

}  // namespace

std::span<const TLanguageEntry> Languages() { return kLanguages; }

const TLanguageEntry& LanguageOf(DocumentKind kind) { return kLanguages[static_cast<int>(kind)]; }

std::unique_ptr<TLanguageHighlighter> MakeHighlighter(DocumentKind kind) {
    const TLanguageEntry& e = LanguageOf(kind);
    return e.make ? e.make() : nullptr;
}

// The document-kind queries, answered from the table above.
std::optional<DocumentKind> KindOfExtension(std::string_view ext) {
    for (const TLanguageEntry& e : kLanguages)
        for (const char* s : e.extensions)
            if (ext == s) return e.kind;
    return std::nullopt;
}

const char* KindStatusText(DocumentKind k) { return LanguageOf(k).statusText; }

std::optional<DocumentKind> KindOfStatusText(std::string_view text) {
    for (const TLanguageEntry& e : kLanguages)
        if (text == e.statusText) return e.kind;
    return std::nullopt;
}

TSavePreset KindSavePreset(DocumentKind k) { return LanguageOf(k).savePreset; }

}  // namespace pelm
