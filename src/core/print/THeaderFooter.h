#pragma once
// The header and footer bands of a printed page: lines of items with macros
// for the page number, page count, title, date and time, in a frame.
#include <string>
#include <vector>

#include "core/print/TPageGeometry.h"
#include "core/print/TPrintCanvas.h"

namespace pelm {

enum THeaderFooterAlign { hfaLeft, hfaRight, hfaCenter };
enum TFrameType { ftLine, ftBox, ftShaded };

struct THeaderFooterItem {
    std::string Text;
    TPrintFont Font;
    int LineNumber = 1;  // 1-based line of the band
    THeaderFooterAlign Alignment = hfaLeft;
};

// Roman numerals, greedily from M down to I; numbers below 1 stay decimal.
std::string RomanNumeral(int n);

class THeaderFooter {
public:
    explicit THeaderFooter(bool isHeader) : isHeader_(isHeader) {}

    void Add(std::string text, const TPrintFont* font, THeaderFooterAlign alignment, int lineNumber);
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    const THeaderFooterItem& Item(int i) const { return items_[static_cast<size_t>(i)]; }

    TFrameType FrameType = ftLine;
    TColor ShadedColor = clSilver;
    TColor LineColor = clBlack;
    TPrintFont DefaultFont{"Arial", 10, clBlack, 0};
    bool RomanNumbers = false;
    // Even pages swap left and right items.
    bool MirrorPosition = false;
    // The texts of "$DATE$" and "$TIME$": the caller's locale formats; empty
    // ones are filled from the clock when the print is prepared.
    std::string DateText, TimeText;

    // Called once per print with the number of pages and the title.
    void InitPrint(int pageCount, const std::string& title);
    // The item text with its macros replaced for a page.
    std::string ExpandMacros(const std::string& text, int pageNumber) const;
    // Draws the band of a page; nothing when the band has no items.
    void Print(TPrintCanvas& canvas, const TPageGeometry& page, int pageNumber);

private:
    std::string number(int n) const { return RomanNumbers ? RomanNumeral(n) : std::to_string(n); }

    bool isHeader_;
    std::vector<THeaderFooterItem> items_;
    int pageCount_ = 0;
    std::string title_;
};

}  // namespace pelm
