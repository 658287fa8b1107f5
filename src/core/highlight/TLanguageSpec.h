#pragma once
// What describes one language to the highlighter kit, as constant tables:
// its attributes (creation order, name, built-in colours and style), its token
// kinds (name, attribute, role), its states' names, the main window's
// overrides, its word characters, language name and built-in filter. The
// attribute list, the attribute of each kind, RoleAttribute and the names the
// golden-file runner prints all come from these tables.
#include <cstdint>
#include <optional>
#include <span>

#include "core/highlight/TCharSet.h"
#include "core/highlight/THighlighterAttributes.h"

namespace pelm {

struct TAttributeSpec {
    const char* name;
    TColor foreground = clNone;
    TFontStyles style = 0;
    TColor background = clNone;
};

// No attribute (the end-of-line kind) / no role.
inline constexpr int kNoAttribute = -1;
inline constexpr int kNoRole = -1;

struct TKindSpec {
    const char* name;  // short name, as the golden files print it
    int attribute;     // index into the attribute table, or kNoAttribute
    int role = kNoRole;  // the THighlighterRole this kind's attribute plays, if any
};

// One change the main window's configuration makes to an attribute.
struct TAttributeOverride {
    int attribute;
    std::optional<TColor> foreground = std::nullopt;
    std::optional<TFontStyles> style = std::nullopt;
    std::optional<TColor> background = std::nullopt;
};

struct TLanguageSpec {
    const char* languageName;
    const char* builtInFilter;
    std::span<const TAttributeSpec> attributes;
    std::span<const TKindSpec> kinds;  // indexed by kind value
    int endOfLineKind;
    std::span<const char* const> stateNames;  // indexed by the state's low byte
    // The low-byte states that may be the state at the end of a line.
    uint64_t lineEndStates;
    TCharSet wordChars;
    std::span<const TAttributeOverride> mainWindowOverrides;
    // What the bits above the low byte hold: another state of the language (the
    // state a CSS comment returns to), or data of the highlighter's own (PHP's
    // heredoc identifier number).
    bool upperBitsHoldAState = false;
};

}  // namespace pelm
