#include "gui/editor/TQtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "gui/app/GuiText.h"

namespace pelm {

const QString CodeEditBlockMimeType = QStringLiteral("application/x-codeedit-control-block-type");
const QString CodeEditBlockFormatName = QStringLiteral("CodeEdit Control Block Type");

namespace {

// The same data under the registered name, for platforms whose clipboard
// formats are registered by name.
QString RegisteredFormat() {
    return QStringLiteral("application/x-qt-windows-mime;value=\"") + CodeEditBlockFormatName + QLatin1Char('"');
}

}  // namespace

bool TQtClipboard::SetContent(const std::string& text, const std::string* blockData) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    auto* data = new QMimeData;
    data->setText(FromCp1251(text));
    if (blockData) {
        const QByteArray bytes(blockData->data(), static_cast<qsizetype>(blockData->size()));
        data->setData(CodeEditBlockMimeType, bytes);
        data->setData(RegisteredFormat(), bytes);
    }
    clipboard->setMimeData(data);
    // A clipboard that refused the data does not hand it back.
    const QMimeData* now = clipboard->mimeData();
    if (!now || !now->hasText()) return false;
    return !blockData || now->hasFormat(CodeEditBlockMimeType);
}

std::optional<std::string> TQtClipboard::Text() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText()) return std::nullopt;
    return ToCp1251(data->text());
}

std::optional<std::string> TQtClipboard::BlockData() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(CodeEditBlockMimeType)) return std::nullopt;
    const QByteArray bytes = data->data(CodeEditBlockMimeType);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace pelm
