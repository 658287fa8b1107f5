#pragma once
// The languages of the program, one entry per document kind: the highlighter
// factory, the extension strings that select the kind, the status text, the
// Save As preset, and the golden-file folder. The main window, the golden-file
// runner and the fuzz target all read this one table; a new language is its
// highlighter plus one entry here.
#include <memory>
#include <span>
#include <string_view>

#include "core/document/DocumentKind.h"
#include "core/highlight/TLanguageHighlighter.h"

namespace pelm {

struct TLanguageEntry {
    DocumentKind kind;
    const char* statusText;                   // status panel 2
    std::span<const char* const> extensions;  // compared exactly, as OpenFrom gets them
    TSavePreset savePreset;                   // Save As filter index and default extension
    const char* folder;                       // tests/highlight/<folder>
    // The kind's highlighter with its built-in values; nullptr while the
    // language has no highlighter yet.
    std::unique_ptr<TLanguageHighlighter> (*make)();
    // Whether a line break inside a line's text means what the end of the
    // line means, so that a file scanned as one line gives the same tokens.
    bool lineBreakEndsConstructs;
};

// Every document kind, in DocumentKind order.
std::span<const TLanguageEntry> Languages();
const TLanguageEntry& LanguageOf(DocumentKind kind);
// The kind's highlighter with its built-in values, or nullptr when it has none.
std::unique_ptr<TLanguageHighlighter> MakeHighlighter(DocumentKind kind);

}  // namespace pelm
