#pragma once
// The system clipboard for the editor: plain text, plus the private block
// format (the selection mode byte, the text, a NUL) under its own MIME type, so
// that a column block pasted back into an editor is a column block again.
#include <QString>

#include "core/editor/TCodeEditClipboard.h"

namespace pelm {

// The private format's MIME type, and the registered clipboard name it stands for.
extern const QString CodeEditBlockMimeType;   // "application/x-codeedit-control-block-type"
extern const QString CodeEditBlockFormatName; // "CodeEdit Control Block Type"

class TQtClipboard : public TCodeEditClipboard {
public:
    bool SetContent(const std::string& text, const std::string* blockData) override;
    std::optional<std::string> Text() const override;
    std::optional<std::string> BlockData() const override;
};

}  // namespace pelm
