#include "core/document/DocumentKind.h"

#include "core/platform/Cp1251.h"

namespace pelm {

std::optional<DocumentKind> KindOfExtension(std::string_view e) {
    auto any = [&](std::initializer_list<const char*> list) {
        for (const char* s : list)
            if (e == s) return true;
        return false;
    };
    if (any({"html", "htm", ".html", ".htm"})) return DocumentKind::HTML;
    if (any({"css", ".css"})) return DocumentKind::CSS;
    if (any({"xml", ".xml", "xsd", ".xsd", "wml", ".wml", "xslt", ".xslt", "dtd", ".dtd"})) return DocumentKind::XML;
    if (any({"js", ".js"})) return DocumentKind::JavaScript;
    if (any({"php", ".php", "php3", ".php3", "phtml", ".phtml", "inc", ".inc"})) return DocumentKind::PHP;
    if (any({"perl", "pl", ".pl", "pm", ".pm", "cgi", ".cgi"})) return DocumentKind::Perl;
    return std::nullopt;
}

const char* KindStatusText(DocumentKind k) {
    switch (k) {
        case DocumentKind::HTML: return "HTML";
        case DocumentKind::CSS: return "CSS";
        case DocumentKind::XML: return "XML";
        case DocumentKind::JavaScript: return "JScript";
        case DocumentKind::PHP: return "PHP";
        case DocumentKind::Perl: return "Perl";
    }
    return "HTML";
}

std::optional<DocumentKind> KindOfStatusText(std::string_view text) {
    for (int i = 0; i < kDocumentKindCount; ++i)
        if (text == KindStatusText(static_cast<DocumentKind>(i))) return static_cast<DocumentKind>(i);
    return std::nullopt;
}

const TKindTemplate& KindTemplate(DocumentKind k) {
    static const TKindTemplate table[] = {
        {"HTML", "HTML.pel", "html"}, {"CSS", "CSS.pel", "css"}, {"XML", "XML.pel", "xml"},
        {"JS", "JS.pel", "js"},       {"PHP", "PHP.pel", "php"}, {"Perl", "Perl.pel", "perl"},
    };
    return table[static_cast<int>(k)];
}

TSavePreset KindSavePreset(DocumentKind k) {
    static const TSavePreset table[] = {{1, "htm"}, {2, "css"}, {3, "xml"}, {4, "js"}, {5, "php"}, {6, "cgi"}};
    return table[static_cast<int>(k)];
}

std::string LowerCaseExtension(const std::string& fileName) {
    size_t slash = fileName.find_last_of('/');
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return cp1251::LowerCase(fileName.substr(dot));
}

}  // namespace pelm
