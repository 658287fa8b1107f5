#pragma once
// Integer text in the program's one format: decimal with an optional sign, or
// hexadecimal written "$1F" or (longer than two characters) "0x1F" / "0X1F".
#include <string>
#include <string_view>

namespace pelm {

// False when the text is no such integer or does not fit in 32 bits.
bool ParseInteger(std::string_view text, int& value);
// The same, raising EConvertError "'%s' is not a valid integer value".
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int def);

}  // namespace pelm
