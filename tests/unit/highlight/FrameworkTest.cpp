// The highlighter framework: attributes, the base class and the keyword schemes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/highlight/KeywordSchemes.h"
#include "core/highlight/TCustomHighlighter.h"

using namespace pelm;

namespace {

// A minimal highlighter: every byte is one token of kind 1, the end is kind 0.
class TByteHighlighter : public TCustomHighlighter {
public:
    explicit TByteHighlighter(const std::vector<std::string>& names) {
        for (const auto& n : names) last = AddAttribute(n);
        FinishConstruction();
    }
    THighlighterAttributes* RoleAttribute(int) const override { return nullptr; }
    void StartLine(std::string_view text, int lineIndex) override {
        KeepLine(text, lineIndex);
        NextToken();
    }
    void NextToken() override {
        tokenPos_ = run_;
        if (line_[run_]) ++run_;
    }
    bool AtLineEnd() const override { return line_[tokenPos_] == 0; }
    int TokenKind() const override { return AtLineEnd() ? 0 : 1; }
    THighlighterAttributes* TokenAttribute() const override { return nullptr; }
    THighlighterAttributes* last = nullptr;
};

TEST(HighlighterAttributes, NotifiesOnlyOnARealChange) {
    THighlighterAttributes a("Name");
    EXPECT_EQ(a.Background(), clNone);
    EXPECT_EQ(a.Foreground(), clNone);
    EXPECT_EQ(a.Style(), 0);
    int calls = 0;
    a.SetChangeCallback([&] { ++calls; });
    a.SetForeground(clNone);
    a.SetBackground(clNone);
    a.SetStyle(0);
    EXPECT_EQ(calls, 0);
    a.SetForeground(clRed);
    a.SetForeground(clRed);
    a.SetBackground(clWindow);
    a.SetStyle(fsBold | fsItalic);
    a.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(a.Foreground(), clRed);
    EXPECT_EQ(a.Background(), clWindow);
    EXPECT_EQ(a.Style(), fsBold | fsItalic);
}

TEST(HighlighterAttributes, DefaultsAreTheSnapshotAtTheEndOfConstruction) {
    THighlighterAttributes a("Name");
    a.SetForeground(clBlue);
    a.TakeDefaults();
    EXPECT_FALSE(a.ChangedFromDefault());
    a.SetStyle(fsUnderline);
    EXPECT_TRUE(a.ChangedFromDefault());
    EXPECT_EQ(a.DefaultForeground(), clBlue);
    EXPECT_EQ(a.DefaultStyle(), 0);
}

TEST(CustomHighlighter, KeepsAttributesSortedAndRejectsDuplicates) {
    TByteHighlighter h({"Value", "Comment", "Space", "Identifier"});
    ASSERT_EQ(h.AttributeCount(), 4);
    std::vector<std::string> names;
    for (int i = 0; i < h.AttributeCount(); ++i) names.push_back(h.AttributeAt(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"Comment", "Identifier", "Space", "Value"}));
    EXPECT_EQ(h.AttributeAt(-1), nullptr);
    EXPECT_EQ(h.AttributeAt(4), nullptr);
    EXPECT_THROW(TByteHighlighter({"Text", "Comment", "Text"}), EHighlighterError);
}

TEST(CustomHighlighter, BaseProperties) {
    TByteHighlighter h({});
    const TCharSet& br = h.BreakCharSet();
    EXPECT_EQ(br.Size(), 22);
    for (unsigned char c : std::string("!\"'()*+,-./:;=?[\\]^{|}")) EXPECT_TRUE(br.Contains(c)) << c;
    EXPECT_FALSE(br.Contains('a'));
    EXPECT_FALSE(br.Contains(' '));
    TCharSet words = h.WordCharSet();
    EXPECT_EQ(words.Size(), 223);
    EXPECT_FALSE(words.Contains(32));
    EXPECT_TRUE(words.Contains(33));
    EXPECT_TRUE(words.Contains(255));
    EXPECT_EQ(h.LanguageName(), "<Unknown>");
    EXPECT_EQ(h.DefaultFilter(), "");
    EXPECT_TRUE(h.IsFilterStored());
    EXPECT_EQ(h.GetState(), 0u);
    EXPECT_FALSE(h.KeywordTest("x"));
    h.SetBreakCharSet(TCharSet{'a'});
    EXPECT_EQ(h.BreakCharSet().Size(), 1);
}

TEST(CustomHighlighter, SubscribersHearChangesExceptDuringConfiguration) {
    TByteHighlighter h({"A", "B"});
    int first = 0, second = 0;
    h.Subscribe(&first, [&] { ++first; });
    h.Subscribe(&second, [&] { ++second; });
    h.AttributeAt(0)->SetForeground(clRed);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    h.AttributeAt(0)->SetForeground(clRed);  // no change, no notification
    EXPECT_EQ(first, 1);

    h.BeginConfiguration();
    h.AttributeAt(0)->SetForeground(clBlue);
    h.AttributeAt(1)->SetStyle(fsBold);
    EXPECT_EQ(first, 1);
    h.ConfigurationFinished();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 2);

    h.Unsubscribe(&first);
    h.AttributeAt(1)->SetStyle(0);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 3);
    EXPECT_EQ(h.SubscriberCount(), 1);
}

TEST(CustomHighlighter, SubscriberMayUnsubscribeWhileNotified) {
    TByteHighlighter h({"A"});
    int calls = 0;
    h.Subscribe(&calls, [&] {
        ++calls;
        h.Unsubscribe(&calls);
    });
    h.AttributeAt(0)->SetStyle(fsBold);
    h.AttributeAt(0)->SetStyle(0);
    EXPECT_EQ(calls, 1);
}

TEST(CustomHighlighter, SubscribersStillAttachedHearOfTheDestruction) {
    int told = 0, changes = 0;
    {
        auto h = std::make_unique<TByteHighlighter>(std::vector<std::string>{"A"});
        h->Subscribe(&told, [&] { ++changes; }, [&] { ++told; });
        h->Subscribe(&changes, [&] { ++changes; }, [&] { ++told; });
        h->Unsubscribe(&changes);
        h->Subscribe(&changes, [&] { ++changes; });  // no destruction callback
    }
    EXPECT_EQ(told, 1);
    EXPECT_EQ(changes, 0);
}

TEST(CustomHighlighter, LineIsKeptWithItsOwnTerminator) {
    TByteHighlighter h({});
    std::string text = "abcdef";
    // A view into a longer string: the scan must stop at the view's end.
    h.StartLine(std::string_view(text).substr(0, 3), 7);
    EXPECT_EQ(h.LineIndex(), 7);
    std::string seen;
    while (!h.AtLineEnd()) {
        seen += h.TokenText();
        h.NextToken();
    }
    EXPECT_EQ(seen, "abc");
    EXPECT_EQ(h.TokenStart(), 3);
    h.StartLine("xy", 0);
    h.ScanToLineEnd();
    EXPECT_EQ(h.TokenStart(), 2);
}

// Letters 1..26 without regard to case, everything else 0.
const int* letterValues() {
    static int table[256] = {};
    for (int c = 'a'; c <= 'z'; ++c) table[c] = table[c - 32] = c - 'a' + 1;
    return table;
}

TEST(KeywordSchemeA, FallbacksAndHashLimit) {
    struct Case {
        TKeywordCompare compare;
        const char* word;
        uint32_t hash;
        int kind;
    };
    const Case cases[] = {
        {kcCaseSensitive, "for", 10, 1},   {kcCaseSensitive, "FOR", 10, 7},  // miss
        {kcCaseSensitive, "fo", 10, 7},    {kcCaseSensitive, "for", 11, 7},  // another slot
        {kcCaseSensitive, "for", 20, 9},   // hash at the limit: high fallback even though it spells a keyword
        {kcCaseSensitive, "for", 999, 9},  {kcIgnoreCase, "FoR", 10, 1},
        {kcIgnoreCase, "if", 10, 2},       {kcTableValue, "IF", 10, 2},
        {kcTableValue, "fOR", 10, 1},
    };
    for (const Case& c : cases) {
        TKeywordSchemeA a(20, c.compare, 7, 9, letterValues());
        a.Add("for", 1, 10);
        a.Add("if", 2, 10);
        a.Add("while", 3, 25);  // beyond the slots: never found
        EXPECT_EQ(a.KeywordCount(), 2);
        EXPECT_EQ(a.Lookup(c.word, c.hash), c.kind) << c.word << " " << c.hash << " " << int(c.compare);
    }
}

uint32_t sumHash(std::string_view w, const int* table) { return TableHash(w, table); }

TEST(KeywordSchemeB, SplitsOrdersAndLooksUp) {
    TCharSet wordChars;
    wordChars.AddRange('a', 'z').Add('-');
    TKeywordSchemeB b(letterValues(), sumHash, 5);
    b.AddList("color, top,\r\nfont-size  border-top border-right,left,", wordChars, 1);
    EXPECT_EQ(b.KeywordCount(), 6);
    EXPECT_EQ(b.Lookup("color"), 1);
    EXPECT_EQ(b.Lookup("COLOR"), 1);  // by table value
    EXPECT_EQ(b.Lookup("font-size"), 1);
    EXPECT_EQ(b.Lookup("border-right"), 1);
    EXPECT_EQ(b.Lookup("left"), 1);
    EXPECT_EQ(b.Lookup("colour"), 5);
    EXPECT_EQ(b.Lookup("zzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"), 5);  // beyond the chains
    // "cab" and "bac" share a hash with different or equal lengths.
    TKeywordSchemeB c(letterValues(), sumHash, 0);
    c.Add("abcd", 2);
    c.Add("cab", 3);
    c.Add("bac", 4);
    c.Add("f", 5);
    EXPECT_EQ(c.Lookup("bac"), 4);
    EXPECT_EQ(c.Lookup("cab"), 3);
    EXPECT_EQ(c.Lookup("abc"), 0);
    EXPECT_EQ(c.Lookup("f"), 5);
}

TEST(KeywordSchemeB, DuplicateIgnoringCaseIsAnError) {
    TCharSet wordChars;
    wordChars.AddRange('a', 'z').AddRange('A', 'Z');
    TKeywordSchemeB b(letterValues(), sumHash, 0);
    try {
        b.AddList("top,left,Top", wordChars, 1);
        FAIL() << "no error";
    } catch (const EHighlighterError& e) {
        EXPECT_STREQ(e.what(), "Keyword \"Top\" already in list");
    }
}

}  // namespace
