#include "gui/editor/TQtCanvas.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <algorithm>

#include "core/platform/Cp1251.h"
#include "gui/editor/ColorConvert.h"

namespace pelm {

void TQtFaces::SetFont(const QFont& font) {
    font_ = font;
    for (auto& f : faces_) f.reset();
}

const TQtFaces::Face& TQtFaces::Of(TFontStyles style) {
    const int index = style & (fsBold | fsItalic);
    auto& slot = faces_[static_cast<size_t>(index)];
    if (!slot) {
        slot = std::make_unique<Face>();
        slot->font = font_;
        slot->font.setBold((index & fsBold) != 0);
        slot->font.setItalic((index & fsItalic) != 0);
        slot->raw = QRawFont::fromFont(slot->font);
        for (int b = 0; b < 256; ++b) {
            const char32_t u = cp1251::ToUnicode(static_cast<unsigned char>(b));
            quint32 g = 0;
            if (b >= 32 && slot->raw.isValid()) {
                const QList<quint32> glyphs = slot->raw.glyphIndexesForString(QString(QChar(static_cast<char16_t>(u))));
                if (glyphs.size() == 1) g = glyphs.front();
            }
            slot->glyph[static_cast<size_t>(b)] = g;
        }
        QFontMetrics fm(slot->font);
        slot->underlinePos = fm.underlinePos();
        slot->strikeOutPos = fm.strikeOutPos();
        slot->lineWidth = std::max(1, fm.lineWidth());
    }
    return *slot;
}

QColor TQtCanvas::ToQColor(TColor color) const {
    return ColorToQColor(color, palette_);
}

void TQtCanvas::FillRect(int x, int y, int width, int height, TColor color) {
    p_.fillRect(QRect(x, y, width, height), ToQColor(color));
}

void TQtCanvas::TextRun(int x, int y, int cellWidth, std::string_view bytes, TFontStyles style, TColor foreground,
                        TColor background) {
    const int n = static_cast<int>(bytes.size());
    if (background != clNone) p_.fillRect(QRect(x, y, n * cellWidth, rowHeight_), ToQColor(background));
    const QColor fg = ToQColor(foreground);
    const int baseline = y + ascent_;
    const TQtFaces::Face& sf = faces_.Of(style);
    glyphs_.clear();
    positions_.clear();
    p_.setPen(fg);
    for (int j = 0; j < n; ++j) {
        const auto ch = static_cast<unsigned char>(bytes[static_cast<size_t>(j)]);
        if (ch <= 32) continue;
        const quint32 g = sf.glyph[ch];
        if (g != 0) {
            glyphs_ << g;
            positions_ << QPointF(x + j * cellWidth, baseline);
        } else {
            // A character the face lacks: drawn alone in its cell by a fallback face.
            p_.setFont(sf.font);
            p_.drawText(QPointF(x + j * cellWidth, baseline), QString(QChar(cp1251::ToUnicode(ch))));
        }
    }
    if (!glyphs_.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(sf.raw);
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        p_.drawGlyphRun(QPointF(0, 0), run);
    }
    if (style & (fsUnderline | fsStrikeOut)) {
        const int xb = x + n * cellWidth;
        if (style & fsUnderline) p_.fillRect(QRect(x, baseline + sf.underlinePos, xb - x, sf.lineWidth), fg);
        if (style & fsStrikeOut) p_.fillRect(QRect(x, baseline - sf.strikeOutPos, xb - x, sf.lineWidth), fg);
    }
}

void TQtCanvas::Line(int x1, int y1, int x2, int y2, TColor color) {
    p_.setPen(ToQColor(color));
    p_.drawLine(x1, y1, x2, y2);
}

void TQtCanvas::BeginClip(int x, int y, int width, int height) {
    p_.save();
    p_.setClipRect(QRect(x, y, width, height));
}

void TQtCanvas::EndClip() {
    p_.restore();
}

}  // namespace pelm
