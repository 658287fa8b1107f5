#pragma once
// Conversions at the edge between the 8-bit core and Qt's Unicode strings.
//
// Document text, settings values and tag names are Windows-1251 bytes. File
// names are kept as the file system spells them (QFile::encodeName), also where
// they are stored in pelm.ini (recent files, caret memory), so that any name the
// system can open survives the round trip.
#include <QString>
#include <string>
#include <string_view>

namespace pelm {

QString FromCp1251(std::string_view bytes);
std::string ToCp1251(const QString& text);

std::string FileNameBytes(const QString& fileName);
QString FileNameFromBytes(std::string_view bytes);

// An error message from the core: UTF-8 when it is valid UTF-8 (messages that
// quote file names), otherwise Windows-1251.
QString MessageText(std::string_view bytes);

// The name without its folders ("/a/b/index.html" -> "index.html").
QString FileNamePart(const QString& fileName);

}  // namespace pelm
