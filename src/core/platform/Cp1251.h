#pragma once
// The Windows-1251 code page: every text in the core is 8-bit in this code page.
// Case mapping, the letter-or-digit class and the conversion to and from Unicode
// are 256-entry tables, so each call is one lookup.
#include <cstdint>
#include <string>
#include <string_view>

namespace pelm::cp1251 {

// Unicode code point of a byte (U+FFFD for the one unassigned byte, 0x98).
char16_t ToUnicode(unsigned char b);
// The byte of a Unicode code point, or -1 when the code page has none.
int FromUnicode(char32_t c);

unsigned char ToUpper(unsigned char b);
unsigned char ToLower(unsigned char b);
// Letter or digit of the code page (Latin, Cyrillic and the other letters of 1251).
bool IsAlphaNumeric(unsigned char b);

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// Conversions of whole strings. Unicode text is UTF-8 on this side; characters
// with no byte in the code page are dropped.
std::string ToUtf8(std::string_view bytes);
std::string FromUtf8(std::string_view utf8);

}  // namespace pelm::cp1251
