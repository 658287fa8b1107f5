#pragma once
// The text of an inserted tag: attribute values quoted when they need it.
#include <string>
#include <string_view>

namespace pelm {

// The 93 characters that make a value need quotes: the blank, the Russian
// letters of both cases (Ё and ё included), the grave accent and
// ~ ! @ # $ % ^ & * ( ) = ' ; : ] [ . , \ | / ? > <.
bool InQuotingSet(unsigned char c);

// The value as written after "=": in double quotes when any of its characters
// is in the quoting set, else unchanged. A double quote inside the value would
// end the attribute early, so it is written as "&quot;", and its "&" then
// makes the value quoted: title="say &quot;hi&quot;".
std::string Kav(std::string_view value);

// "<!-- " + text + " -->".
std::string CommentText(std::string_view text);

}  // namespace pelm
