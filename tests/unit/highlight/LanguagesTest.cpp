// The kit and the languages on it: the registry's table, each language's
// attributes with their built-in values and the main window's overrides, its
// roles, word characters, name and filter, and the scanning context's bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/highlight/LanguageRegistry.h"
#include "core/highlight/TCssHighlighter.h"
#include "core/highlight/THTMLHighlighter.h"
#include "core/highlight/TXMLHighlighter.h"

using namespace pelm;

namespace {

TEST(LanguageRegistry, OneEntryPerKindWithItsTexts) {
    ASSERT_EQ(Languages().size(), static_cast<size_t>(kDocumentKindCount));
    for (int i = 0; i < kDocumentKindCount; ++i) {
        const TLanguageEntry& e = Languages()[static_cast<size_t>(i)];
        EXPECT_EQ(static_cast<int>(e.kind), i);
        EXPECT_EQ(KindOfStatusText(e.statusText), e.kind);
        for (const char* ext : e.extensions) EXPECT_EQ(KindOfExtension(ext), e.kind) << ext;
    }
    EXPECT_EQ(KindOfExtension(".xsl"), std::nullopt);
    EXPECT_EQ(KindOfExtension(".perl"), std::nullopt);
    EXPECT_STREQ(KindSavePreset(DocumentKind::XML).defaultExt, "xml");
    EXPECT_EQ(KindSavePreset(DocumentKind::CSS).filterIndex, 2);
    // The languages built so far make their highlighter; every kind's table is consistent.
    for (DocumentKind k : {DocumentKind::HTML, DocumentKind::CSS, DocumentKind::XML}) {
        std::unique_ptr<TLanguageHighlighter> hl = MakeHighlighter(k);
        ASSERT_NE(hl, nullptr);
        const TLanguageSpec& tables = hl->Tables();
        EXPECT_EQ(hl->AttributeCount(), static_cast<int>(tables.attributes.size()));
        for (int kind = 0; kind < hl->TokenKindCount(); ++kind) {
            const int row = tables.kinds[static_cast<size_t>(kind)].attribute;
            EXPECT_EQ(row == kNoAttribute, kind == tables.endOfLineKind) << kind;
        }
        EXPECT_EQ(hl->DefaultFilter(), tables.builtInFilter);
        EXPECT_FALSE(hl->IsFilterStored());
        hl->SetDefaultFilter("x|*.x");
        EXPECT_TRUE(hl->IsFilterStored());
    }
}

struct AttributeWant {
    const char* name;
    TColor fg;
    TFontStyles style;
    TColor bg = clNone;
};

void expectAttributes(const TLanguageHighlighter& h, const std::vector<AttributeWant>& wants) {
    ASSERT_EQ(h.AttributeCount(), static_cast<int>(wants.size()));
    for (size_t i = 0; i < wants.size(); ++i) {
        const THighlighterAttributes* a = h.Attribute(static_cast<int>(i));
        EXPECT_EQ(a->Name(), wants[i].name);
        EXPECT_EQ(a->Foreground(), wants[i].fg) << wants[i].name;
        EXPECT_EQ(a->Background(), wants[i].bg) << wants[i].name;
        EXPECT_EQ(a->Style(), wants[i].style) << wants[i].name;
    }
}

TEST(XMLHighlighter, AttributesRolesAndConfiguration) {
    TXMLHighlighter h;
    expectAttributes(h, {
                            {"Element Name", clMaroon, fsBold},
                            {"Text", clBlack, fsBold},
                            {"Whitespace", clNone, 0},
                            {"Entity Reference", clBlue, fsBold},
                            {"Processing Instruction", clBlue, 0},
                            {"CDATA Section", clOlive, fsItalic},
                            {"Comment", clGray, fsBold | fsItalic, clSilver},
                            {"DOCTYPE Section", clBlue, fsItalic},
                            {"Attribute Name", clMaroon, 0},
                            {"Namespace Attribute Name", clRed, 0},
                            {"Attribute Value", clNavy, fsBold},
                            {"Namespace Attribute Value", clRed, fsBold},
                            {"Symbol", clBlue, 0},
                        });
    EXPECT_EQ(h.LanguageName(), "XML");
    EXPECT_EQ(h.DefaultFilter(), "XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd");
    EXPECT_EQ(h.RoleAttribute(hrComment), h.CommentAttri());
    EXPECT_EQ(h.RoleAttribute(hrIdentifier), h.AttributeAttri());
    EXPECT_EQ(h.RoleAttribute(hrKeyword), h.ElementAttri());
    EXPECT_EQ(h.RoleAttribute(hrString), nullptr);
    EXPECT_EQ(h.RoleAttribute(hrWhitespace), h.SpaceAttri());
    EXPECT_EQ(h.RoleAttribute(hrSymbol), h.SymbolAttri());
    EXPECT_TRUE(h.WantBracesParsed());

    int calls = 0;
    h.Subscribe(&calls, [&] { ++calls; });
    h.ApplyMainWindowColours();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(h.CommentAttri()->Background(), clNone);
    EXPECT_EQ(h.CommentAttri()->Style(), fsItalic);
    EXPECT_EQ(h.CommentAttri()->Foreground(), clGray);
    EXPECT_FALSE(h.WantBracesParsed());

    const TCharSet w = h.WordCharSet();
    for (unsigned char c : std::string("-.09AZaz_")) EXPECT_TRUE(w.Contains(c)) << c;
    for (unsigned char c : std::string(":<>&;\"' ")) EXPECT_FALSE(w.Contains(c)) << c;
    EXPECT_TRUE(w.Contains(192));
    EXPECT_FALSE(w.Contains(215));
}

TEST(CssHighlighter, AttributesRolesAndConfiguration) {
    TCssHighlighter h;
    expectAttributes(h, {
                            {"Comment", clNone, 0},
                            {"Property", clNone, fsBold},
                            {"Reserved Word", 0xFF0080, fsBold},
                            {"Undefined Property", 0xFF0080, fsBold},
                            {"Space", clNone, 0},
                            {"Color Value", clNone, 0},
                            {"Number", clNone, 0},
                            {"String", clNone, 0},
                            {"Symbol", clNone, 0},
                            {"Text", clNone, 0},
                            {"Value", 0xFF8000, 0},
                        });
    EXPECT_EQ(h.LanguageName(), "Cascading Style Sheet");
    EXPECT_EQ(h.DefaultFilter(), "Cascading Stylesheets (*.css)|*.css");
    EXPECT_EQ(h.RoleAttribute(hrComment), h.CommentAttri());
    EXPECT_EQ(h.RoleAttribute(hrIdentifier), nullptr);
    EXPECT_EQ(h.RoleAttribute(hrKeyword), h.KeyAttri());
    EXPECT_EQ(h.RoleAttribute(hrString), h.StringAttri());
    EXPECT_EQ(h.RoleAttribute(hrWhitespace), h.SpaceAttri());
    EXPECT_EQ(h.RoleAttribute(hrSymbol), nullptr);

    h.ApplyMainWindowColours();
    EXPECT_EQ(h.CommentAttri()->Foreground(), clGray);
    EXPECT_EQ(h.CommentAttri()->Style(), fsItalic);

    const TCharSet w = h.WordCharSet();
    EXPECT_EQ(w.Size(), 1 + 10 + 26 + 1 + 26);
    EXPECT_TRUE(w.Contains('-'));
    EXPECT_FALSE(w.Contains('.'));
    EXPECT_FALSE(w.Contains(192));

    // The property chains: 122 names, case ignored, the lookup word only.
    EXPECT_EQ(h.PropertyCount(), 122);
    struct Case {
        const char* word;
        int kind;
    };
    const Case cases[] = {
        {"azimuth", TCssHighlighter::tkProperty}, {"z-index", TCssHighlighter::tkProperty}, {"BORDER-LEFT-WIDTH", TCssHighlighter::tkProperty}, {"margin-left", TCssHighlighter::tkProperty},
        {"border-top", TCssHighlighter::tkProperty}, {"colour", TCssHighlighter::tkUndefProperty}, {"font-size2", TCssHighlighter::tkUndefProperty}, {"", TCssHighlighter::tkUndefProperty}, {"-", TCssHighlighter::tkUndefProperty},
    };
    for (const Case& c : cases) EXPECT_EQ(h.PropertyKind(c.word), c.kind) << c.word;
}

TEST(CssHighlighter, CommentReturnStateTravelsInTheRange) {
    TCssHighlighter h;
    h.ResetState();
    h.StartLine("p { /* open", 0);
    h.ScanToLineEnd();
    const uint32_t open = h.GetState();
    EXPECT_EQ(open & 0xFF, TCssHighlighter::rsComment);
    EXPECT_EQ(open >> 8, TCssHighlighter::rsParam);
    TCssHighlighter other;
    other.SetState(open);
    EXPECT_EQ(other.GetState(), open);
    other.StartLine("*/ color", 0);
    std::vector<int> kinds;
    while (!other.AtLineEnd()) {
        kinds.push_back(other.TokenKind());
        other.NextToken();
    }
    EXPECT_EQ(kinds, (std::vector<int>{TCssHighlighter::tkComment, TCssHighlighter::tkSpace, TCssHighlighter::tkProperty}));
    EXPECT_EQ(other.GetState(), TCssHighlighter::rsParam);
}

// Whatever the bytes and the starting state, every language reaches the end of
// a line without reading past it (the fuzzing build checks the reads; this
// checks the progress on lines made only of the characters that stop scans).
TEST(LanguageHighlighters, EveryStateReachesTheEndOfAnyLine) {
    const std::vector<std::string> lines = {
        "", "<", "&", "\"", "'", "/", "*", "-", "]", "[", "?", ">", "/*", "*/", "<!", "<?", "<![CDATA[", "<!DOCTYPE",
        "&#", "&#x", "-->", "]]>", "{", "}", ":", ";", ",", "#", ".", "..", std::string("\0x", 2), "\r", "\n", "\r\n",
        "\xff\x80", "a=\"b", "a='b", "=", "\t",
    };
    for (const TLanguageEntry& e : Languages()) {
        if (!e.make) continue;
        std::unique_ptr<TLanguageHighlighter> hl = e.make();
        for (uint32_t state = 0; state < 256; ++state)
            for (const std::string& line : lines) {
                hl->SetState(state);
                hl->StartLine(line, 0);
                int tokens = 0;
                while (!hl->AtLineEnd() && tokens <= 2 * static_cast<int>(line.size()) + 2) {
                    hl->NextToken();
                    ++tokens;
                }
                ASSERT_TRUE(hl->AtLineEnd()) << e.folder << " state " << state << " line " << line;
                ASSERT_EQ(hl->ScanPosition(), static_cast<int>(std::min(line.find('\0'), line.size())));
            }
    }
}

}  // namespace
