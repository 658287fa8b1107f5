// The JavaScript, PHP and Perl highlighters beyond the golden files: their
// attribute tables and the main window's overrides, roles, names, filters,
// word characters, keyword lists, the PHP heredoc identifier in the range, and
// incremental rescans that edit inside their multi-line constructs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/highlight/KeywordSlots.h"
#include "core/editor/TCodeEditHighlighterAdapter.h"
#include "core/highlight/TJScriptHighlighter.h"
#include "core/highlight/TPHPHighlighter.h"
#include "core/highlight/TPerlHighlighter.h"

using namespace pelm;

namespace {

struct AttributeWant {
    const char* name;
    TColor fg;
    TFontStyles style;
};

struct LanguageWant {
    std::unique_ptr<TLanguageHighlighter> (*make)();
    const char* languageName;
    const char* filter;
    std::vector<AttributeWant> attributes;  // creation order
    int commentRow;
    // The rows of the comment, identifier, keyword, string, space and symbol roles.
    int roles[6];
    const char* extraWordChars;  // beyond digits, letters, '_' and the Cyrillic letters
    int keywordCount;
};

template <class T>
std::unique_ptr<TLanguageHighlighter> make() {
    return std::make_unique<T>();
}

const LanguageWant kLanguages[] = {
    {make<TJScriptHighlighter>, "JavaScript", "Javascript Files (*.js)|*.js",
     {{"Comment", clNone, fsItalic}, {"Identifier", clNone, 0}, {"Reserved Word", clNone, fsBold},
      {"Non-reserved Keyword", clNone, 0}, {"Event", clNone, 0}, {"Number", clNone, 0}, {"Space", clNone, 0},
      {"String", clNone, 0}, {"Symbol", clNone, 0}},
     0, {0, 1, 2, 7, 6, 8}, "", 63 + 316 + 20},
    {make<TPHPHighlighter>, "PHP", "PHP Files (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc",
     {{"Comment", clNone, fsItalic}, {"Identifier", clNone, 0}, {"Reserved Word", clNone, fsBold},
      {"Number", clNone, 0}, {"Space", clNone, 0}, {"String", clNone, 0}, {"Symbol", clNone, 0},
      {"Variable", clNone, 0}},
     0, {0, 1, 2, 5, 4, 6}, "", 56},
    {make<TPerlHighlighter>, "Perl", "Perl Files (*.pl;*.pm;*.cgi)|*.pl;*.pm;*.cgi",
     {{"Comment", clNone, fsItalic}, {"Identifier", clNone, 0}, {"Illegal Char", clNone, 0},
      {"Reserved Word", clNone, fsBold}, {"Number", clNone, 0}, {"Operator", clNone, 0},
      {"Pragma", clNone, fsBold}, {"Space", clWindow, 0}, {"String", clNone, 0}, {"Symbol", clNone, 0},
      {"Variable", clNone, fsBold}},
     0, {0, 1, 3, 8, 7, 9}, "$%@", 208 + 11 + 9 + 54},
};

TEST(ScriptHighlighters, AttributesRolesNamesAndWordCharacters) {
    for (const LanguageWant& w : kLanguages) {
        SCOPED_TRACE(w.languageName);
        auto h = w.make();
        ASSERT_EQ(h->AttributeCount(), static_cast<int>(w.attributes.size()));
        for (size_t i = 0; i < w.attributes.size(); ++i) {
            THighlighterAttributes* a = h->Attribute(static_cast<int>(i));
            EXPECT_EQ(a->Name(), w.attributes[i].name);
            EXPECT_EQ(a->Foreground(), w.attributes[i].fg) << a->Name();
            EXPECT_EQ(a->Background(), clNone) << a->Name();
            EXPECT_EQ(a->Style(), w.attributes[i].style) << a->Name();
        }
        for (int r = 0; r < 6; ++r) EXPECT_EQ(h->RoleAttribute(r), h->Attribute(w.roles[r])) << "role " << r;
        EXPECT_EQ(h->RoleAttribute(6), nullptr);
        EXPECT_EQ(h->LanguageName(), w.languageName);
        EXPECT_EQ(h->DefaultFilter(), w.filter);
        EXPECT_FALSE(h->IsFilterStored());

        const TCharSet chars = h->WordCharSet();
        const std::string extra = w.extraWordChars;
        EXPECT_EQ(chars.Size(), 10 + 26 + 1 + 26 + 23 + 31 + 8 + static_cast<int>(extra.size()));
        for (unsigned char c : std::string("09AZaz_") + extra) EXPECT_TRUE(chars.Contains(c)) << c;
        for (int c : {192, 214, 216, 246, 248, 255}) EXPECT_TRUE(chars.Contains(static_cast<unsigned char>(c))) << c;
        for (int c : {215, 247, 191, int('-'), int('.'), int(' ')})
            EXPECT_FALSE(chars.Contains(static_cast<unsigned char>(c))) << c;

        // The main window makes comments gray, once, and changes nothing else.
        int calls = 0;
        h->Subscribe(&calls, [&] { ++calls; });
        h->ApplyMainWindowColours();
        EXPECT_EQ(calls, 1);
        for (size_t i = 0; i < w.attributes.size(); ++i) {
            THighlighterAttributes* a = h->Attribute(static_cast<int>(i));
            EXPECT_EQ(a->ChangedFromDefault(), static_cast<int>(i) == w.commentRow) << a->Name();
        }
        EXPECT_EQ(h->Attribute(w.commentRow)->Foreground(), clGray);
        EXPECT_EQ(h->Attribute(w.commentRow)->Style(), fsItalic);
        h->Unsubscribe(&calls);
    }
}

TEST(ScriptHighlighters, EveryKeywordHasItsSlot) {
    // Keywords whose hash reaches the slot count would never be found.
    EXPECT_EQ(TJScriptHighlighter::KeywordCount(), kLanguages[0].keywordCount);
    EXPECT_EQ(TPHPHighlighter::KeywordCount(), kLanguages[1].keywordCount);
    EXPECT_EQ(TPerlHighlighter::KeywordCount(), kLanguages[2].keywordCount);

    using J = TJScriptHighlighter;
    struct Case {
        int (*kind)(std::string_view);
        const char* word;
        int want;
    };
    const Case cases[] = {
        {J::WordKind, "synchronized", J::tkKey},
        {J::WordKind, "NaN", J::tkKey},
        {J::WordKind, "IF", J::tkIdentifier},  // letter case counts
        {J::WordKind, "NEGATIVE_INFINITY", J::tkNonReservedKey},
        {J::WordKind, "getUTCMilliseconds", J::tkNonReservedKey},
        {J::WordKind, "onMouseOver", J::tkEvent},
        {J::WordKind, "onmouseover", J::tkIdentifier},
        {TPHPHighlighter::WordKind, "HIGHLIGHT_STRING", TPHPHighlighter::tkKey},  // letter case ignored
        {TPHPHighlighter::WordKind, "__line__", TPHPHighlighter::tkKey},
        {TPHPHighlighter::WordKind, "echo1", TPHPHighlighter::tkIdentifier},
        {TPerlHighlighter::WordKind, "getprotobynumber", TPerlHighlighter::tkKey},
        {TPerlHighlighter::WordKind, "$FORMAT_LINE_BREAK_CHARACTERS", TPerlHighlighter::tkVariable},
        {TPerlHighlighter::WordKind, "xor", TPerlHighlighter::tkOperator},
        {TPerlHighlighter::WordKind, "diagnostics", TPerlHighlighter::tkPragma},
        {TPerlHighlighter::WordKind, "Print", TPerlHighlighter::tkIdentifier},
    };
    for (const Case& c : cases) EXPECT_EQ(c.kind(c.word), c.want) << c.word;
    EXPECT_GE(J::WordHash("zzzzzzzzzz"), static_cast<uint32_t>(J::KeywordSlotCount));
    EXPECT_EQ(J::WordKind("zzzzzzzzzz"), J::tkIdentifier);
}

// The flat slots answer what the slot lists of scheme A answer: the first
// keyword of a slot wins, lengths must agree, a keyword whose hash reaches the
// slot count is never found, and both fallbacks.
TEST(KeywordSlots, AnswersAsSchemeA) {
    const int* values = LetterValues.data();
    struct Word {
        const char* word;
        int kind;
    };
    const Word words[] = {{"ab", 1}, {"ba", 2}, {"abc", 3}, {"zzzz", 4}, {"AB", 5}, {"c", 6}};
    for (TKeywordCompare compare : {kcCaseSensitive, kcIgnoreCase, kcTableValue}) {
        TKeywordSchemeA a(60, compare, 10, 11, values);
        std::vector<TKeywordSlots::Keyword> list;
        for (const Word& w : words) {
            a.Add(w.word, w.kind, TableHash(w.word, values));
            list.push_back({w.word, w.kind, TableHash(w.word, values)});
        }
        TKeywordSlots b(60, compare, 10, 11, list, values);
        EXPECT_EQ(a.KeywordCount(), b.KeywordCount());
        for (const char* probe : {"ab", "AB", "Ab", "ba", "BA", "abc", "abd", "zzzz", "c", "C", "cc", "", "x"}) {
            const uint32_t h = TableHash(probe, values);
            EXPECT_EQ(a.Lookup(probe, h), b.Lookup(probe, h)) << probe << " compare " << compare;
        }
    }
    TKeywordSlots b(60, kcCaseSensitive, 10, 11, {{"zzzz", 4, 104}, {"ab", 1, 3}}, values);
    EXPECT_EQ(b.Lookup("zzzz", 104), 11);
    EXPECT_EQ(b.Lookup("ab", 3), 1);
    EXPECT_EQ(b.Lookup("ba", 3), 10);
}

TEST(PHPHighlighter, HeredocIdentifierTravelsInTheRange) {
    TPHPHighlighter h;
    h.ResetState();
    h.StartLine("$a = <<<FIRST", 0);
    h.ScanToLineEnd();
    const uint32_t first = h.GetState();
    h.StartLine("FIRST; $b = <<<SECOND", 1);
    h.ScanToLineEnd();
    const uint32_t second = h.GetState();
    EXPECT_EQ(first & 0xFF, TPHPHighlighter::rsHeredoc);
    EXPECT_EQ(second & 0xFF, TPHPHighlighter::rsHeredoc);
    EXPECT_NE(first, second);

    // Scanning from the first state looks for FIRST, whatever was scanned last.
    h.SetState(first);
    EXPECT_EQ(h.HeredocIdentifier(), "FIRST");
    h.StartLine("SECOND; FIRST;", 2);
    std::vector<std::string> closers;
    while (!h.AtLineEnd()) {
        if (h.TokenView().size() > 1 && h.TokenKind() == TPHPHighlighter::tkString) closers.push_back(h.TokenText());
        h.NextToken();
    }
    EXPECT_EQ(closers, (std::vector<std::string>{"FIRST"}));
    EXPECT_EQ(h.GetState(), 0u);

    // The same identifier gets the same number; a state naming no identifier
    // ends the heredoc after one character.
    h.ResetState();
    h.StartLine("<<<FIRST", 3);
    h.ScanToLineEnd();
    EXPECT_EQ(h.GetState(), first);
    EXPECT_EQ(h.HeredocIdentifierCount(), 2);
    h.SetState(TPHPHighlighter::rsHeredoc | (99u << 8));
    EXPECT_EQ(h.HeredocIdentifier(), "");
    h.StartLine("ab", 4);
    EXPECT_EQ(h.TokenText(), "a");
    h.NextToken();
    EXPECT_EQ(h.TokenKind(), TPHPHighlighter::tkIdentifier);
    EXPECT_EQ(h.GetState(), 0u);
}

std::vector<int32_t> statesOf(const TCodeEditStringList& l) {
    std::vector<int32_t> s;
    for (int i = 0; i < l.Count(); ++i) s.push_back(l.LineState(i));
    return s;
}

// Edits inside the multi-line constructs: each rescan ends at the first line
// whose new end state equals the stored one and leaves what a full rescan leaves.
TEST(ScriptHighlighters, RescanAfterAnEditInsideAMultiLineConstruct) {
    struct Step {
        int line;
        const char* text;
        int lastRescanned;
    };
    struct Case {
        const char* name;
        std::unique_ptr<TLanguageHighlighter> (*make)();
        std::vector<const char*> lines;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"JS comment",
         make<TJScriptHighlighter>,
         {"var a = 1;", "/* start", "inside", "more", "end */ b();", "c();", "d();"},
         {
             {2, "inside, edited", 2},  // still inside: one line
             {4, "end b();", 6},        // the comment no longer closes: to the last line
             {5, "*/ c();", 6},         // closes one line later: line 6 is back in step
             {1, "// start", 5},        // no comment any more: line 5 ends in code as before
             {1, "/* start", 5},
             {5, "c();", 6},
             {4, "end */ b();", 6},
         }},
        {"PHP heredoc",
         make<TPHPHighlighter>,
         {"<?php", "echo <<<EOT", "text $x", "more", "EOT;", "$y = 1;", "$z = 2;"},
         {
             {2, "text edited", 2},
             {3, "EOT; closed early", 4},  // line 4 ended in code before as well
             {3, "more", 4},
             {1, "echo <<<EOS", 6},  // another identifier: every line up to the end changes
             {4, "EOS;", 6},
             {1, "echo <<<EOT", 6},
             {4, "EOT;", 6},
         }},
        {"PHP string",
         make<TPHPHighlighter>,
         {"<?php", "$s = \"start", "inside $v", "", "end\";", "$t = 'x';", "$u = 1;"},
         {
             {2, "inside {$v} edited", 2},
             {3, "\"", 6},   // the string closes on the empty line; line 4 opens another
             {4, "end;", 6},  // no string opens on line 4 any more: every line below changes
             {3, "", 6},
             {4, "end\";", 6},
             {1, "$s = 'start", 6},  // single-quoted: the double quote of line 4 opens a string
             {1, "$s = \"start", 6},
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto hl = c.make();
        TCodeEditStringList lines;
        for (const char* s : c.lines) lines.Add(s);
        FullRescan(lines, *hl);
        for (const Step& s : c.steps) {
            lines.SetStrings(s.line, s.text);
            EXPECT_EQ(RescanFrom(lines, *hl, s.line), s.lastRescanned) << s.text;
            TCodeEditStringList copy;
            copy.Assign(lines);
            FullRescan(copy, *hl);
            EXPECT_EQ(statesOf(lines), statesOf(copy)) << s.text;
        }
    }
}

}  // namespace
