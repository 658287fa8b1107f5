#pragma once
// A private-profile store: INI files read and written key by key, with the
// semantics desktop programs have long relied on. Names compare without regard to
// case; blanks around names and values are not part of them; a value in a
// matching pair of quotes reads without them; a value reads up to 2047
// characters; a section's key names are listed within a 16384-character buffer.
// Every write reaches the file at once and replaces it whole through a temporary
// file, so the file is always either the old or the new one.
//
// The parsed file is kept between calls and used again while a stat of the file
// shows it unchanged (same inode, size and modification time), so a start-up
// that reads many keys parses the file once, and a write by another program or
// another object on the same file is seen at the next read.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelm::profile {

constexpr size_t kMaxValueLength = 2047;
constexpr size_t kKeyNameBuffer = 16384;

// The value of a key, or def when the file, the section or the key is missing.
std::string GetString(const std::string& file, std::string_view section, std::string_view key,
                      std::string_view def);
// The key names of a section in file order, as far as they fit in the key-name
// buffer.
std::vector<std::string> GetKeyNames(const std::string& file, std::string_view section);

// The key names of a section with their values, as GetKeyNames and GetString
// would give them, from one look at the file.
std::vector<std::pair<std::string, std::string>> GetPairs(const std::string& file, std::string_view section);

// Writes key = value; no key removes the whole section, no value removes the key.
// Returns false (errno set) when the system refuses the write, and (EINVAL)
// for a name or value that would change the file's structure: a CR, LF or NUL
// anywhere, "]" in a section name, "=" in a key name or a key line that would
// read as a section header. Removing such a name does nothing: no line of the
// file can hold it.
bool WriteString(const std::string& file, std::string_view section, std::optional<std::string_view> key,
                 std::optional<std::string_view> value);

// Turns the parsed-file cache off (and empties it); for measurements.
void SetCacheEnabled(bool on);

}  // namespace pelm::profile
