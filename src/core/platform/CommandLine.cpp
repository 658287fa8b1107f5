#include "core/platform/CommandLine.h"

namespace pelm {

std::vector<std::string> SplitCommandLine(std::string_view text) {
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;  // an argument has started, even if it is still empty
    bool quoted = false;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        char c = text[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) {
                args.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t run = 0;
            while (i < n && text[i] == '\\') { ++run; ++i; }
            if (i < n && text[i] == '"') {
                current.append(run / 2, '\\');
                if (run % 2 == 1) {
                    current += '"';
                    ++i;
                }
                // An even run leaves the quote to the next round, where it
                // opens or closes a quoted run.
            } else {
                current.append(run, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < n && text[i + 1] == '"') {
                current += '"';
                i += 2;
                continue;
            }
            quoted = !quoted;
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument) args.push_back(std::move(current));
    return args;
}

}  // namespace pelm
