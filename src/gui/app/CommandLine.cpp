#include "gui/app/CommandLine.h"

namespace pelm {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    // --help and --version count anywhere before "--", which ends the options
    // so that a file whose name starts with "-" can still be opened.
    size_t optionsEnd = 0;
    while (optionsEnd < args.size() && args[optionsEnd] != "--") ++optionsEnd;
    for (size_t i = 0; i < optionsEnd; ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            result.printAndExit =
                "Использование: pelm [ФАЙЛ]\n"
                "Редактор веб-страниц и сценариев: HTML, CSS, XML, JavaScript, PHP, Perl.\n"
                "\n"
                "  ФАЙЛ        файл, который открывается при запуске (следующие имена не учитываются)\n"
                "  --help      показать эту справку и выйти\n"
                "  --version   показать версию программы и выйти\n";
            return result;
        }
        if (args[i] == "--version") {
            result.printAndExit = "Pelm2, версия 2.00\n";
            return result;
        }
    }
    // The first file name is opened; the rest are ignored.
    if (optionsEnd > 0) {
        result.fileIndex = 0;
    } else if (args.size() > 1) {
        result.fileIndex = 1;
    }
    return result;
}

}  // namespace pelm
