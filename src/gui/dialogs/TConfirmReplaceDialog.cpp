#include "gui/dialogs/TConfirmReplaceDialog.h"

#include <QLabel>
#include <QPushButton>

#include "core/document/SearchState.h"

namespace pelm {

namespace {
// The dialog's results for the four buttons, clear of Accepted and Rejected.
constexpr int ResultBase = 100;
}  // namespace

QPointer<TConfirmReplaceDialog> ConfirmReplaceDialog;

TConfirmReplaceDialog::TConfirmReplaceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ConfirmReplaceDialog"));
    setWindowTitle(QStringLiteral("Заменить?"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(328, 66);

    lblConfirmation = new QLabel(this);
    lblConfirmation->setObjectName(QStringLiteral("lblConfirmation"));
    lblConfirmation->setGeometry(8, 6, 312, 18);
    lblConfirmation->setTextFormat(Qt::PlainText);

    auto button = [&](const char* name, const QString& text, int index, TCodeReplaceAction action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(8 + index * 80, 32, 72, 26);
        connect(b, &QPushButton::clicked, this, [this, action] { done(ResultBase + action); });
        return b;
    };
    btnReplace = button("btnReplace", QStringLiteral("&Да"), 0, raReplace);
    btnNo = button("btnNo", QStringLiteral("&Нет"), 1, raSkip);
    btnCancel = button("btnCancel", QStringLiteral("&Отмена"), 2, raCancel);
    btnYesToAll = button("btnYesToAll", QStringLiteral("&Все"), 3, raReplaceAll);
    btnReplace->setDefault(true);
}

TConfirmReplaceDialog::~TConfirmReplaceDialog() = default;

void TConfirmReplaceDialog::PlaceNear(const QRect& area, int x, int top, int bottom, const QString& text) {
    lblConfirmation->setText(QStringLiteral("%1").arg(text));
    const QRect frame = frameGeometry();
    int left = 0, dialogTop = 0;
    PlaceNearPosition(TRect{area.left(), area.top(), area.width(), area.height()}, x, top, bottom, frame.width(),
                      frame.height(), left, dialogTop);
    // move() places the frame's top-left corner.
    move(left, dialogTop);
}

TCodeReplaceAction TConfirmReplaceDialog::Action() const {
    switch (result() - ResultBase) {
    case raSkip: return raSkip;
    case raReplace: return raReplace;
    case raReplaceAll: return raReplaceAll;
    default: return raCancel;
    }
}

}  // namespace pelm
