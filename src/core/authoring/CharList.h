#pragma once
// The character list of the character dialog: section "Chars" of the settings
// file, one entry per key (the description) with its value (the code to insert).
#include <string>
#include <vector>

namespace pelm {

class TIniFile;

struct TCharEntry {
    std::string Description;
    std::string Code;
};

std::vector<TCharEntry> ReadCharList(const TIniFile& settings);

// The code of the first entry whose description equals that of the entry at
// row (without regard to case); row -1 or an empty list: "".
std::string CharCodeOf(const std::vector<TCharEntry>& list, int row);

}  // namespace pelm
