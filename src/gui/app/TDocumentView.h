#pragma once
// Stand-in for the editor control until it exists: the document's line buffer,
// its modified flag and its caret offset, with the text shown read-only. It
// offers the editor's names (Lines, Modified, SetModified, SelOffset) so that the
// real control can take its place without changes to the main window.
#include <QPlainTextEdit>

#include "core/editor/TCodeEditStringList.h"

namespace pelm {

class TDocumentView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDocumentView(QWidget* parent = nullptr);

    TCodeEditStringList& Lines() { return lines_; }
    const TCodeEditStringList& Lines() const { return lines_; }

    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }

    // Caret as a character offset, each line break counting 2.
    int SelOffset() const { return selOffset_; }
    void SetSelOffset(int offset) { selOffset_ = offset; }

private:
    void showLines();

    TCodeEditStringList lines_;
    bool modified_ = false;
    int selOffset_ = 0;
};

}  // namespace pelm
