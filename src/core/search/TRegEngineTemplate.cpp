// Filling replacement templates from a match, and replacing every match of a text.
#include "core/search/TRegEngine.h"

#include <algorithm>
#include <string>

namespace pelm {

std::string TRegEngine::FillTemplate(std::string_view t) const {
    if (!hasInput_) Raise(reNoInputString);
    int spans[2 * (kMaxGroup + 1)];
    for (int g = 0; g <= kMaxGroup; ++g) {
        spans[2 * g] = GroupStart(g);
        spans[2 * g + 1] = GroupLength(g);
    }
    return FillTemplateFrom(t, input_, spans, kMaxGroup + 1);
}

std::string TRegEngine::FillTemplateFrom(std::string_view t, std::string_view text, const int* spans, int count) {
    std::string out;
    out.reserve(t.size());
    size_t i = 0;
    auto group = [&](int n) {
        if (n < 0 || n >= count || spans[2 * n] < 1) return;
        out.append(text.substr(static_cast<size_t>(spans[2 * n] - 1), static_cast<size_t>(spans[2 * n + 1])));
    };
    while (i < t.size()) {
        char c = t[i];
        if (c == '\\' && i + 1 < t.size()) {
            out.push_back(t[i + 1]);
            i += 2;
            continue;
        }
        if (c == '$' && i + 1 < t.size()) {
            char d = t[i + 1];
            if (d == '&') {
                group(0);
                i += 2;
                continue;
            }
            if (d >= '0' && d <= '9') {
                size_t j = i + 1;
                long long n = 0;
                while (j < t.size() && t[j] >= '0' && t[j] <= '9') {
                    if (n <= kMaxGroup) n = n * 10 + (t[j] - '0');
                    ++j;
                }
                group(n <= kMaxGroup ? static_cast<int>(n) : -1);
                i = j;
                continue;
            }
            if (d == '{') {
                size_t close = t.find('}', i + 2);
                if (close != std::string_view::npos && close > i + 2) {
                    std::string_view inner = t.substr(i + 2, close - i - 2);
                    if (inner == "&") {
                        group(0);
                        i = close + 1;
                        continue;
                    }
                    if (std::all_of(inner.begin(), inner.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
                        long long n = 0;
                        for (char ch : inner)
                            if (n <= kMaxGroup) n = n * 10 + (ch - '0');
                        group(n <= kMaxGroup ? static_cast<int>(n) : -1);
                        i = close + 1;
                        continue;
                    }
                }
            }
        }
        out.push_back(c);
        ++i;
    }
    return out;
}

std::string TRegEngine::ReplaceMatches(std::string_view text, std::string_view tmpl) {
    if (!RunOn(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t last = 0;
    do {
        size_t start = static_cast<size_t>(groups_[0]);
        out.append(input_, last, start - last);
        out += FillTemplate(tmpl);
        last = static_cast<size_t>(groups_[1]);
    } while (RunNext());
    out.append(input_, last, std::string::npos);
    return out;
}

}  // namespace pelm
