#pragma once
// The print engine: a paged listing of an editor's text, optionally only its
// selection, with line numbers, the highlighter's font styles and colours,
// wrapped to the text area, header and footer, in collated copies. It works
// on its own copy of the lines and draws on a TPrintCanvas; highlighted rows
// are drawn by the render layer from the same line layout and token walk the
// screen uses.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/editor/TCodeEditTypes.h"
#include "core/print/TCodeEditPrintMargins.h"
#include "core/print/TCodeEditPrinterInfo.h"
#include "core/print/THeaderFooter.h"
#include "core/print/TPageGeometry.h"
#include "core/print/TPrintCanvas.h"
#include "core/render/TCodeEditRenderer.h"
#include "core/render/TLineLayout.h"

namespace pelm {

class TCustomCodeEdit;
class TCustomHighlighter;

enum TSynPrintStatus { psBegin, psNewPage, psEnd };

class TCodeEditPrint {
public:
    // Status of the job: begun, a page started (its number), ended. Setting
    // abort stops the job before the next page.
    using TPrintStatusEvent = std::function<void(TSynPrintStatus status, int pageNumber, bool& abort)>;
    // A line printed: its number (1-based, without LineOffset) and its page.
    using TPrintLineEvent = std::function<void(int lineNumber, int pageNumber)>;

    int Copies = 1;
    bool Colors = false;
    bool Highlight = true;
    bool LineNumbers = false;
    bool SelectedOnly = false;
    // False: the text area moves right to make room for the numbers.
    bool LineNumbersInMargin = false;
    bool Wrap = true;
    TColor Color = 0xFFFFFF;  // page background of the text area
    TPrintFont Font;
    std::string DocTitle;  // names the job
    std::string Title;     // the bands' $TITLE$
    int LineOffset = 0;
    int PageOffset = 0;
    THeaderFooter Header{true};
    THeaderFooter Footer{false};
    TCodeEditPrintMargins Margins;
    TPrintStatusEvent OnPrintStatus;
    TPrintLineEvent OnPrintLine;

    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int w) { tabWidth_ = w < 1 ? 1 : w; }
    TCustomHighlighter* Highlighter() const { return highlighter_; }
    void SetHighlighter(TCustomHighlighter* h);

    // Replaces the lines with tab-expanded copies of these.
    void SetLines(const std::vector<std::string_view>& lines);
    void AddLine(std::string_view line);
    int LineCount() const { return static_cast<int>(lines_.size()); }
    const std::string& Line(int i) const { return lines_[static_cast<size_t>(i)]; }
    // The selection, columns counted in the tab-expanded lines.
    void SetSelection(bool hasSelection, TBufferCoord begin, TBufferCoord end, TSelectionMode mode);
    // Takes the editor's highlighter, tab width, lines and selection.
    void TakeEditor(const TCustomCodeEdit& editor);

    // Prints the pages first..last (a last past the page count, or below 1,
    // means the last page) of each copy in one job.
    void PrintPages(TPrintCanvas& canvas, int first = 1, int last = 0);
    // Reads the device and font, lays out the pages; PrintPages does it first.
    void Prepare(TPrintCanvas& canvas);
    void Abort() { abort_ = true; }
    bool Aborted() const { return abort_; }

    int PageCount() const { return pageTotal_; }
    // 0-based index of each page's first line.
    const std::vector<int>& PageFirstLines() const { return pages_; }
    const TPageGeometry& Geometry() const { return geo_; }
    const TCodeEditPrinterInfo& PrinterInfo() const { return info_; }
    int CellWidth() const { return cellWidth_; }
    int RowHeight() const { return rowHeight_; }
    int RowWidth() const { return rowWidth_; }
    int RowChars() const { return rowChars_; }

    // The part of line i (0-based) that prints.
    std::string_view PrintedText(int i) const;
    // Where a text wraps in rows of rowChars (below 1 counts as 1): counts of
    // characters after which a row ends, ascending; none when it fits.
    static std::vector<int> WrapPoints(std::string_view text, int rowChars);

private:
    void computePage(int page);
    void paginate();
    void computeStates();
    void printPage(TPrintCanvas& canvas, int page);
    void printLine(TPrintCanvas& canvas, int i, int page);
    bool wraps(std::string_view text) const {
        return Wrap && static_cast<int64_t>(text.size()) * cellWidth_ > rowWidth_;
    }
    void status(TSynPrintStatus s, int page);

    TCustomHighlighter* highlighter_ = nullptr;
    int tabWidth_ = 8;
    std::vector<std::string> lines_;
    std::vector<uint32_t> states_;  // per line, the highlighter's state at its start; empty: not computed
    bool hasSelection_ = false;
    TBufferCoord selBegin_, selEnd_;
    TSelectionMode selMode_ = smNormal;

    TCodeEditPrinterInfo info_;
    TPageGeometry geo_;
    std::vector<int> pages_;
    int pageTotal_ = 0;
    int numberWidth_ = 0;
    int cellWidth_ = 0, rowHeight_ = 0, rowWidth_ = 0, rowChars_ = 1;
    int penY_ = 0;
    bool highlighted_ = false;
    bool abort_ = false;

    // The row painter shared with the screen, and its scratch.
    TCodeEditRenderer renderer_;
    TLineLayout layout_;
    std::vector<int> wrapScratch_;
};

}  // namespace pelm
