// The HTML highlighter beyond the golden files: attributes, configuration,
// roles, word characters, the entity and tag lists, and the state handling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/highlight/THTMLHighlighter.h"

using namespace pelm;
using H = THTMLHighlighter;

namespace {

struct Tok {
    std::string text;
    int kind;
    bool operator==(const Tok&) const = default;
};

std::vector<Tok> scan(H& h, std::string_view line) {
    std::vector<Tok> out;
    h.StartLine(line, 0);
    while (!h.AtLineEnd()) {
        out.push_back({h.TokenText(), h.TokenKind()});
        h.NextToken();
    }
    return out;
}

TEST(HTMLHighlighter, BuiltInAttributes) {
    H h;
    struct Want {
        THighlighterAttributes* a;
        const char* name;
        TColor fg;
        TFontStyles style;
    };
    const Want wants[] = {
        {h.CommentAttri(), "Comment", clNone, 0},
        {h.IdentifierAttri(), "Identifier", clNone, fsBold},
        {h.KeyAttri(), "Reserved Word", 0xFF0080, fsBold},
        {h.SpaceAttri(), "Space", clNone, 0},
        {h.SymbolAttri(), "Symbol", clNone, fsBold},
        {h.TextAttri(), "Text", clNone, 0},
        {h.UndefKeyAttri(), "Unknown Word", clRed, fsBold},
        {h.ValueAttri(), "Value", 0xFF8000, 0},
        {h.AndAttri(), "Escape Ampersand", clLime, fsBold},
    };
    ASSERT_EQ(h.AttributeCount(), 9);
    for (const Want& w : wants) {
        EXPECT_EQ(w.a->Name(), w.name);
        EXPECT_EQ(w.a->Foreground(), w.fg) << w.name;
        EXPECT_EQ(w.a->Background(), clNone) << w.name;
        EXPECT_EQ(w.a->Style(), w.style) << w.name;
        EXPECT_FALSE(w.a->ChangedFromDefault()) << w.name;
    }
    // Name order.
    EXPECT_EQ(h.AttributeAt(0)->Name(), "Comment");
    EXPECT_EQ(h.AttributeAt(1)->Name(), "Escape Ampersand");
    EXPECT_EQ(h.AttributeAt(8)->Name(), "Value");
    EXPECT_EQ(h.LanguageName(), "HTML");
    EXPECT_EQ(h.DefaultFilter(), "HTML Documents (*.htm;*.html)|*.htm;*.html");
    EXPECT_FALSE(h.IsFilterStored());
}

TEST(HTMLHighlighter, MainWindowColoursNotifyOnce) {
    H h;
    int calls = 0;
    h.Subscribe(&calls, [&] { ++calls; });
    h.ApplyMainWindowColours();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(h.AndAttri()->Foreground(), clGreen);
    EXPECT_EQ(h.CommentAttri()->Foreground(), clGray);
    EXPECT_EQ(h.CommentAttri()->Style(), fsItalic);
    EXPECT_TRUE(h.CommentAttri()->ChangedFromDefault());
    EXPECT_FALSE(h.KeyAttri()->ChangedFromDefault());
    EXPECT_FALSE(h.Configuring());
}

TEST(HTMLHighlighter, RolesAndKindAttributes) {
    H h;
    EXPECT_EQ(h.RoleAttribute(hrComment), h.CommentAttri());
    EXPECT_EQ(h.RoleAttribute(hrIdentifier), h.IdentifierAttri());
    EXPECT_EQ(h.RoleAttribute(hrKeyword), h.KeyAttri());
    EXPECT_EQ(h.RoleAttribute(hrString), nullptr);
    EXPECT_EQ(h.RoleAttribute(hrWhitespace), h.SpaceAttri());
    EXPECT_EQ(h.RoleAttribute(hrSymbol), h.SymbolAttri());
    EXPECT_EQ(h.RoleAttribute(6), nullptr);
    EXPECT_EQ(h.RoleAttribute(-1), nullptr);

    // One line holding every kind; each token's attribute follows its kind.
    h.ResetState();
    h.StartLine("<p a=\"v\"><x>t&amp;<!-- c --></noscripts>", 0);
    THighlighterAttributes* const byKind[] = {h.AndAttri(),  h.CommentAttri(), h.IdentifierAttri(), h.KeyAttri(),
                                              nullptr,       h.SpaceAttri(),   h.SymbolAttri(),     h.TextAttri(),
                                              h.UndefKeyAttri(), h.ValueAttri()};
    std::vector<bool> seen(H::KindCount);
    while (!h.AtLineEnd()) {
        seen[static_cast<size_t>(h.TokenKind())] = true;
        EXPECT_EQ(h.TokenAttribute(), byKind[h.TokenKind()]) << h.TokenText();
        h.NextToken();
    }
    EXPECT_EQ(h.TokenAttribute(), nullptr);
    for (int k = 0; k < H::KindCount; ++k)
        if (k != H::tkNull) {
            EXPECT_TRUE(seen[static_cast<size_t>(k)]) << k;
        }
}

TEST(HTMLHighlighter, WordCharacters) {
    H h;
    TCharSet w = h.WordCharSet();
    EXPECT_EQ(w.Size(), 10 + 26 + 1 + 26 + 23 + 31 + 8);
    for (unsigned char c : std::string("09AZaz_")) EXPECT_TRUE(w.Contains(c));
    for (int c : {192, 214, 216, 246, 248, 255}) EXPECT_TRUE(w.Contains(static_cast<unsigned char>(c))) << c;
    for (int c : {215, 247, 191, int('-'), int('&'), int(' ')}) EXPECT_FALSE(w.Contains(static_cast<unsigned char>(c))) << c;
}

TEST(HTMLHighlighter, EntityAndTagLists) {
    EXPECT_EQ(H::NamedEntityCount(), 249);
    EXPECT_EQ(H::TagNameCount(), 202);
    struct Case {
        const char* text;
        int length;
    };
    const Case entities[] = {
        {"&Alpha;", 7}, {"&alpha;", 7}, {"&thetasym;", 10}, {"&circ;", 6},  {"&yuml;", 6},   {"&sup2;", 6},
        {"&sup;", 5},   {"&frac34;", 8}, {"&brkbar;", 8},   {"&hibar;", 7}, {"&die;", 5},    {"&AMP;", 0},
        {"&Copy;", 0},  {"&amp", 0},     {"&;", 0},         {"&nbspx;", 0}, {"&thetasymx;", 0},
    };
    for (const Case& c : entities) EXPECT_EQ(H::NamedEntityLength(c.text), c.length) << c.text;

    struct TagCase {
        const char* name;
        int kind;
    };
    const TagCase tags[] = {
        {"!DOCTYPE", H::tkKey}, {"a", H::tkKey},         {"XMP", H::tkKey},       {"/xmp", H::tkKey},
        {"h6", H::tkKey},       {"/OPTGROUP", H::tkKey}, {"br", H::tkKey},        {"/br", H::tkUndefKey},
        {"/wbr", H::tkUndefKey}, {"tabel", H::tkUndefKey}, {"", H::tkUndefKey},  {"/noscripts", H::tkIdentifier},
        {"noscripts", H::tkUndefKey}, {"/optgroupa", H::tkIdentifier},
    };
    for (const TagCase& c : tags) EXPECT_EQ(H::TagKind(c.name), c.kind) << c.name;
    EXPECT_EQ(H::TagHash("/noscripts"), 255u);
    EXPECT_EQ(H::TagHash("noscripts"), 133u);
    EXPECT_EQ(H::TagHash("h1"), 9u);
}

TEST(HTMLHighlighter, StateHandling) {
    H h;
    EXPECT_EQ(h.GetState(), uint32_t{H::rsText});
    // An empty line keeps an open state.
    for (uint32_t s : {1u, 2u, 3u, 6u, 7u, 8u}) {
        h.SetState(s);
        h.StartLine("", 0);
        EXPECT_TRUE(h.AtLineEnd());
        EXPECT_EQ(h.TokenKind(), H::tkNull);
        EXPECT_EQ(h.GetState(), s);
    }
    // Only the low byte is the state.
    h.SetState(0x100 + H::rsComment);
    EXPECT_EQ(scan(h, "x -->"), (std::vector<Tok>{{"x -->", H::tkComment}}));
    h.ResetState();
    EXPECT_EQ(scan(h, "a<b"), (std::vector<Tok>{{"a", H::tkText}, {"<", H::tkSymbol}, {"b", H::tkKey}}));
    EXPECT_EQ(h.GetState(), uint32_t{H::rsTag});
    // The first token is valid right after StartLine.
    h.ResetState();
    h.StartLine("<b>", 3);
    EXPECT_EQ(h.TokenKind(), H::tkSymbol);
    EXPECT_EQ(h.TokenStart(), 0);
    EXPECT_EQ(h.TokenText(), "<");
}

TEST(HTMLHighlighter, SameTokensFromTheSameStateAndAnyStateIsSafe) {
    H h;
    const std::string line = "x\"y' <a b='c\" d=e>&amp;&#1 <!-- - -> --> \t\r\n\r=";
    for (uint32_t s = 0; s < 256; ++s) {
        h.SetState(s);
        std::vector<Tok> first = scan(h, line);
        uint32_t end = h.GetState();
        h.SetState(s);
        EXPECT_EQ(scan(h, line), first) << s;
        EXPECT_EQ(h.GetState(), end) << s;
    }
}

TEST(HTMLHighlighter, LineBreaksInsideALine) {
    H h;
    h.ResetState();
    EXPECT_EQ(scan(h, "a\r\nb\n\rc"),
              (std::vector<Tok>{{"a", H::tkText}, {"\r\n", H::tkSpace}, {"b", H::tkText}, {"\n", H::tkSpace},
                                {"\r", H::tkSpace}, {"c", H::tkText}}));
    h.SetState(H::rsDoubleQuoted);
    EXPECT_EQ(scan(h, "x\r\ny\""), (std::vector<Tok>{{"x", H::tkValue}, {"\r\n", H::tkSpace}, {"y\"", H::tkValue}}));
    EXPECT_EQ(h.GetState(), uint32_t{H::rsTag});
    h.SetState(H::rsComment);
    EXPECT_EQ(scan(h, "x\ry-->"), (std::vector<Tok>{{"x", H::tkComment}, {"\r", H::tkSpace}, {"y-->", H::tkComment}}));
    EXPECT_EQ(h.GetState(), uint32_t{H::rsText});
}

}  // namespace
