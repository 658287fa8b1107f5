#include "core/print/THeaderFooter.h"

#include <algorithm>
#include <ctime>

namespace pelm {

std::string RomanNumeral(int n) {
    if (n < 1) return std::to_string(n);
    static const struct {
        int value;
        const char* text;
    } table[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                 {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
    std::string s;
    for (const auto& t : table)
        while (n >= t.value) {
            s += t.text;
            n -= t.value;
        }
    return s;
}

void THeaderFooter::Add(std::string text, const TPrintFont* font, THeaderFooterAlign alignment, int lineNumber) {
    items_.push_back(THeaderFooterItem{std::move(text), font ? *font : DefaultFont, std::max(1, lineNumber), alignment});
}

void THeaderFooter::InitPrint(int pageCount, const std::string& title) {
    pageCount_ = pageCount;
    title_ = title;
    if (DateText.empty() || TimeText.empty()) {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        char buf[32];
        if (DateText.empty() && std::strftime(buf, sizeof buf, "%d.%m.%Y", &tm)) DateText = buf;
        if (TimeText.empty() && std::strftime(buf, sizeof buf, "%H:%M:%S", &tm)) TimeText = buf;
    }
}

namespace {
bool sameName(std::string_view a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != b[i]) return false;
    }
    return i == a.size() && !b[i];
}
}  // namespace

std::string THeaderFooter::ExpandMacros(const std::string& text, int pageNumber) const {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find('$', i);
        if (open == std::string::npos) break;
        const size_t close = text.find('$', open + 1);
        if (close == std::string::npos) break;
        out.append(text, i, open - i);
        const std::string_view name(text.data() + open + 1, close - open - 1);
        std::string value;
        bool known = true;
        if (sameName(name, "PAGENUM")) value = number(pageNumber);
        else if (sameName(name, "PAGECOUNT")) value = number(pageCount_);
        else if (sameName(name, "TITLE")) value = title_;
        else if (sameName(name, "DATE")) value = DateText;
        else if (sameName(name, "TIME")) value = TimeText;
        else if (sameName(name, "DATETIME")) value = DateText + " " + TimeText;
        else if (sameName(name, "TIMEDATE")) value = TimeText + " " + DateText;
        else known = false;
        if (known) {
            out += value;
            i = close + 1;
        } else {
            // Not a macro: the first "$" is text, and the second may open one.
            out += '$';
            i = open + 1;
        }
    }
    out.append(text, std::min(i, text.size()), std::string::npos);
    return out;
}

void THeaderFooter::Print(TPrintCanvas& canvas, const TPageGeometry& page, int pageNumber) {
    if (items_.empty()) return;
    const TPrintFont saved = canvas.Font();
    int lines = 0;
    for (const auto& it : items_) lines = std::max(lines, it.LineNumber);
    // Each line is as tall as its tallest font.
    std::vector<int> heights(static_cast<size_t>(lines), 0);
    for (int l = 1; l <= lines; ++l) {
        int h = 0;
        bool any = false;
        for (const auto& it : items_)
            if (it.LineNumber == l) {
                canvas.SetFont(it.Font);
                h = std::max(h, canvas.TextHeight("W"));
                any = true;
            }
        if (!any) {
            canvas.SetFont(DefaultFont);
            h = canvas.TextHeight("W");
        }
        heights[static_cast<size_t>(l - 1)] = h;
    }
    int bandHeight = 2 * page.BandInnerSpace;
    for (int h : heights) bandHeight += h;
    const int top = isHeader_ ? page.HeaderEdge - bandHeight : page.FooterEdge;
    const int bottom = top + bandHeight;
    const int width = page.TextRight - page.TextLeft;
    switch (FrameType) {
        case ftLine: {
            const int y = isHeader_ ? bottom : top;
            canvas.Line(page.TextLeft, y, page.TextRight, y, LineColor);
            break;
        }
        case ftShaded: canvas.FillRect(page.TextLeft, top, width, bandHeight, ShadedColor); [[fallthrough]];
        case ftBox: canvas.FrameRect(page.TextLeft, top, width, bandHeight, LineColor); break;
    }
    const bool swap = MirrorPosition && pageNumber % 2 == 0;
    int y = top + page.BandInnerSpace;
    for (int l = 1; l <= lines; ++l) {
        for (const auto& it : items_) {
            if (it.LineNumber != l) continue;
            canvas.SetFont(it.Font);
            const std::string s = ExpandMacros(it.Text, pageNumber);
            THeaderFooterAlign a = it.Alignment;
            if (swap && a != hfaCenter) a = a == hfaLeft ? hfaRight : hfaLeft;
            const int w = canvas.TextWidth(s);
            int x = page.BandTextLeft;
            if (a == hfaRight) x = page.BandTextRight - w;
            else if (a == hfaCenter) x = (page.BandTextLeft + page.BandTextRight - w) / 2;
            canvas.TextOut(x, y, s);
        }
        y += heights[static_cast<size_t>(l - 1)];
    }
    canvas.SetFont(saved);
}

}  // namespace pelm
