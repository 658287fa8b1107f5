#pragma once
// A canvas that writes every call as one line of text, for tests and golden
// files, and passes it on to another canvas when it has one:
//   fill X,Y WxH COLOUR
//   text X,Y cW "BYTES" STYLE FG BG     (STYLE: letters of B I U S, or -)
//   line X1,Y1 X2,Y2 COLOUR
//   clip X,Y WxH
//   unclip
// Colours read 0xBBGGRR, sysN for system colour N, or none. Bytes outside
// printable ASCII, the quote and the backslash are written \xHH.
#include <string>
#include <vector>

#include "core/render/TCanvas.h"

namespace pelm {

class TRecordingCanvas : public TCanvas {
public:
    explicit TRecordingCanvas(TCanvas* target = nullptr) : target_(target) {}

    // The canvas each call is passed on to, or none.
    void SetTarget(TCanvas* target) { target_ = target; }

    const std::vector<std::string>& Calls() const { return calls_; }
    // The calls, one per line, each ending with a line break.
    std::string Text() const;
    void Clear() { calls_.clear(); }

    static std::string ColorText(TColor color);
    static std::string StyleText(TFontStyles style);

    void FillRect(int x, int y, int width, int height, TColor color) override;
    void TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style, TColor foreground,
                 TColor background) override;
    void Line(int x1, int y1, int x2, int y2, TColor color) override;
    void BeginClip(int x, int y, int width, int height) override;
    void EndClip() override;

private:
    TCanvas* target_;
    std::vector<std::string> calls_;
};

}  // namespace pelm
