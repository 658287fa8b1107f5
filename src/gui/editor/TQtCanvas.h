#pragma once
// The renderer's canvas on a QPainter: the editor widget's viewport (and any
// other paint device). Text runs are placed on the cell grid glyph by glyph,
// without text shaping, from a face per font style that maps every
// Windows-1251 byte to its glyph once.
#include <QFont>
#include <QList>
#include <QPalette>
#include <QPointF>
#include <QRawFont>
#include <array>
#include <memory>

#include "core/render/TCanvas.h"

class QPainter;

namespace pelm {

// The faces of one font in its four bold/italic styles, made when first asked for.
class TQtFaces {
public:
    struct Face {
        QFont font;
        QRawFont raw;
        std::array<quint32, 256> glyph{};  // 0: not in the face, drawn with drawText
        int underlinePos = 0;
        int strikeOutPos = 0;
        int lineWidth = 1;
    };

    // The font every face derives from; forgets the faces made so far.
    void SetFont(const QFont& font);
    const QFont& Font() const { return font_; }
    // The face of a style (only bold and italic count).
    const Face& Of(TFontStyles style);

private:
    QFont font_;
    std::array<std::unique_ptr<Face>, 4> faces_;  // by bold | italic
};

class TQtCanvas : public TCanvas {
public:
    // ascent: the baseline's offset below a row's top; rowHeight: the height
    // of a text run's cells. System colours are taken from the palette.
    TQtCanvas(QPainter& painter, TQtFaces& faces, int ascent, int rowHeight, const QPalette& palette)
        : p_(painter), faces_(faces), ascent_(ascent), rowHeight_(rowHeight), palette_(palette) {}

    QColor ToQColor(TColor color) const;

    void FillRect(int x, int y, int width, int height, TColor color) override;
    void TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style, TColor foreground,
                 TColor background) override;
    void Line(int x1, int y1, int x2, int y2, TColor color) override;
    void BeginClip(int x, int y, int width, int height) override;
    void EndClip() override;

private:
    QPainter& p_;
    TQtFaces& faces_;
    int ascent_;
    int rowHeight_;
    const QPalette& palette_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

}  // namespace pelm
