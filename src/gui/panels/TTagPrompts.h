#pragma once
// The two dialogs of the tag panel's value commands, behind an interface so
// that tests can answer them: the colour dialog and the file browser.
#include <QColor>
#include <QList>
#include <QString>
#include <optional>

#include "gui/app/Prompts.h"

class QWidget;

namespace pelm {

struct BrowseRequest {
    QString title;
    QString folder;  // starting folder; empty leaves the choice to the dialog
    QList<FileFilter> filters;
};

class TTagPrompts {
public:
    virtual ~TTagPrompts() = default;
    // The chosen colour, or none when the dialog is cancelled.
    virtual std::optional<QColor> pickColor(QWidget* owner, const QColor& initial) = 0;
    // The chosen file's full name, or empty when the dialog is cancelled.
    virtual QString browseFile(QWidget* owner, const BrowseRequest& request) = 0;
};

// QColorDialog and QFileDialog.
class TQtTagPrompts : public TTagPrompts {
public:
    std::optional<QColor> pickColor(QWidget* owner, const QColor& initial) override;
    QString browseFile(QWidget* owner, const BrowseRequest& request) override;
};

}  // namespace pelm
