#pragma once
// The replace prompt "Заменить?": the search text and four answers, placed
// beside the match it asks about.
#include <QDialog>
#include <QPointer>
#include <QRect>

#include "core/search/TCodeEditSearchCustom.h"

class QLabel;
class QPushButton;

namespace pelm {

class TConfirmReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit TConfirmReplaceDialog(QWidget* parent = nullptr);
    ~TConfirmReplaceDialog() override;

    // Sets the label to text and places the dialog next to the match whose start
    // is at x, between top and bottom, inside area (screen pixels).
    void PlaceNear(const QRect& area, int x, int top, int bottom, const QString& text);
    // The answer of the last showing: the dialog closes with the action as its
    // result; every other way of closing gives raCancel.
    TCodeReplaceAction Action() const;

    QLabel* lblConfirmation = nullptr;
    QPushButton* btnReplace = nullptr;
    QPushButton* btnNo = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnYesToAll = nullptr;
};

// The one replace prompt of the application, or null; cleared when the dialog
// is destroyed.
extern QPointer<TConfirmReplaceDialog> ConfirmReplaceDialog;

}  // namespace pelm
