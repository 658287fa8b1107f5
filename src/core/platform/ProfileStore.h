#pragma once
// A private-profile store: INI files read and written key by key, with the
// semantics desktop programs have long relied on. Names compare without regard to
// case; blanks around names and values are not part of them; a value in a
// matching pair of quotes reads without them; a value reads up to 2047
// characters; a section's key names are listed within a 16384-character buffer.
// Every write reaches the file at once and replaces it whole through a temporary
// file, so the file is always either the old or the new one.
#include <optional>
#include <string>
#include <string_view>
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

// Writes key = value; no key removes the whole section, no value removes the key.
// Returns false (errno set) when the system refuses the write.
bool WriteString(const std::string& file, std::string_view section, std::optional<std::string_view> key,
                 std::optional<std::string_view> value);

}  // namespace pelm::profile
