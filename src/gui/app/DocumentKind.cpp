#include "gui/app/DocumentKind.h"

#include <array>

namespace pelm {

namespace {

constexpr std::array<DocumentKindInfo, DocumentKindCount> kKinds = {{
    {DocumentKind::HTML, "HTML", "HTML", "HTML.pel", "html", 1, "htm"},
    {DocumentKind::CSS, "CSS", "CSS", "CSS.pel", "css", 2, "css"},
    {DocumentKind::XML, "XML", "XML", "XML.pel", "xml", 3, "xml"},
    {DocumentKind::JavaScript, "JScript", "JS", "JS.pel", "js", 4, "js"},
    {DocumentKind::PHP, "PHP", "PHP", "PHP.pel", "php", 5, "php"},
    {DocumentKind::Perl, "Perl", "Perl", "Perl.pel", "perl", 6, "cgi"},
}};

struct ExtensionEntry {
    std::string_view ext;
    DocumentKind kind;
};

// "perl" is recognised only without a dot, and ".xsl" and ".txt" not at all.
constexpr ExtensionEntry kExtensions[] = {
    {"html", DocumentKind::HTML}, {"htm", DocumentKind::HTML},
    {".html", DocumentKind::HTML}, {".htm", DocumentKind::HTML},
    {"css", DocumentKind::CSS}, {".css", DocumentKind::CSS},
    {"xml", DocumentKind::XML}, {".xml", DocumentKind::XML},
    {"xsd", DocumentKind::XML}, {".xsd", DocumentKind::XML},
    {"wml", DocumentKind::XML}, {".wml", DocumentKind::XML},
    {"xslt", DocumentKind::XML}, {".xslt", DocumentKind::XML},
    {"dtd", DocumentKind::XML}, {".dtd", DocumentKind::XML},
    {"js", DocumentKind::JavaScript}, {".js", DocumentKind::JavaScript},
    {"php", DocumentKind::PHP}, {".php", DocumentKind::PHP},
    {"php3", DocumentKind::PHP}, {".php3", DocumentKind::PHP},
    {"phtml", DocumentKind::PHP}, {".phtml", DocumentKind::PHP},
    {"inc", DocumentKind::PHP}, {".inc", DocumentKind::PHP},
    {"perl", DocumentKind::Perl},
    {"pl", DocumentKind::Perl}, {".pl", DocumentKind::Perl},
    {"pm", DocumentKind::Perl}, {".pm", DocumentKind::Perl},
    {"cgi", DocumentKind::Perl}, {".cgi", DocumentKind::Perl},
};

}  // namespace

const DocumentKindInfo& KindInfo(DocumentKind kind) {
    return kKinds[static_cast<size_t>(kind)];
}

std::optional<DocumentKind> KindFromExtension(std::string_view ext) {
    for (const auto& e : kExtensions)
        if (e.ext == ext) return e.kind;
    return std::nullopt;
}

std::optional<DocumentKind> KindFromStatusText(std::string_view text) {
    for (const auto& k : kKinds)
        if (text == k.statusText) return k.kind;
    return std::nullopt;
}

}  // namespace pelm
