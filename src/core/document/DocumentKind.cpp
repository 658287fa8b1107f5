#include "core/document/DocumentKind.h"

#include "core/platform/Cp1251.h"

namespace pelm {

const TKindTemplate& KindTemplate(DocumentKind k) {
    static const TKindTemplate table[] = {
        {"HTML", "HTML.pel", "html"}, {"CSS", "CSS.pel", "css"}, {"XML", "XML.pel", "xml"},
        {"JS", "JS.pel", "js"},       {"PHP", "PHP.pel", "php"}, {"Perl", "Perl.pel", "perl"},
    };
    return table[static_cast<int>(k)];
}

std::string LowerCaseExtension(const std::string& fileName) {
    size_t slash = fileName.find_last_of('/');
    size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return cp1251::LowerCase(fileName.substr(dot));
}

}  // namespace pelm
