#include "gui/app/GuiText.h"

#include <QFile>
#include <QStringDecoder>

#include "core/platform/Cp1251.h"

namespace pelm {

QString FromCp1251(std::string_view bytes) {
    return QString::fromStdString(cp1251::ToUtf8(bytes));
}

std::string ToCp1251(const QString& text) {
    return cp1251::FromUtf8(text.toStdString());
}

std::string FileNameBytes(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

QString FileNameFromBytes(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

QString MessageText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return FromCp1251(bytes);
}

QString FileNamePart(const QString& fileName) {
    return fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace pelm
