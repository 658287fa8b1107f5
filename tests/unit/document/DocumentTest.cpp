#include <gtest/gtest.h>

#include "core/config/TIniFile.h"
#include "core/document/DocumentKind.h"
#include "core/config/RecentFiles.h"
#include "core/document/TemplateMarkers.h"
#include "support/TempDir.h"

using namespace pelm;

TEST(DocumentKind, ExtensionTable) {
    struct Case { const char* ext; std::optional<DocumentKind> kind; } cases[] = {
        {"html", DocumentKind::HTML}, {".htm", DocumentKind::HTML}, {".HTM", std::nullopt},
        {"css", DocumentKind::CSS},   {".xsd", DocumentKind::XML},  {".xsl", std::nullopt},
        {"wml", DocumentKind::XML},   {".dtd", DocumentKind::XML},  {".js", DocumentKind::JavaScript},
        {".inc", DocumentKind::PHP},  {"phtml", DocumentKind::PHP}, {"perl", DocumentKind::Perl},
        {".perl", std::nullopt},      {".cgi", DocumentKind::Perl}, {".txt", std::nullopt},
        {"", std::nullopt},           {"!!!", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(KindOfExtension(c.ext), c.kind) << c.ext;
    EXPECT_EQ(LowerCaseExtension("/site/INDEX.HTM"), ".htm");
    EXPECT_EQ(LowerCaseExtension("/site.d/readme"), "");
    EXPECT_EQ(LowerCaseExtension("\xcf\xd0\xc8.HTML"), ".html");
    EXPECT_EQ(KindSavePreset(DocumentKind::Perl).filterIndex, 6);
    EXPECT_STREQ(KindSavePreset(DocumentKind::Perl).defaultExt, "cgi");
    EXPECT_EQ(KindOfStatusText("JScript"), DocumentKind::JavaScript);
}

namespace {
std::string apply(std::string text, const TTemplateExpansion& e) {
    for (const TTemplateEdit& ed : e.edits) text.replace(static_cast<size_t>(ed.offset), 4, ed.replacement);
    return text;
}
}  // namespace

TEST(TemplateMarkers, Expansion) {
    struct Case { const char* text; const char* result; int caret; } cases[] = {
        {"%cur", "", 0},
        {"<title>%gen</title>%cur", "<title>Vorn Pelm 2.00</title>", 29},
        {"%CUR%Dat", "%CUR%Dat", 0},
        {"a%curb%curc", "abc", 2},
        {"%cur%dat|", "D|", 0},
        {"%%curcur", "%cur", 1},  // the scan has passed the new marker's start
        {"x\r\n%tim", "x\r\nT", 0},
        {"%gen%gen", "Vorn Pelm 2.00Vorn Pelm 2.00", 0},
    };
    for (const Case& c : cases) {
        TTemplateExpansion e = ScanTemplateMarkers(c.text, "D", "T");
        EXPECT_EQ(apply(c.text, e), c.result) << c.text;
        EXPECT_EQ(e.caretOffset, c.caret) << c.text;
    }
}

// An editor drops the blanks a deletion leaves at a line's end; the markers
// after such a line are still found where they now stand.
TEST(TemplateMarkers, ScanReadsTheTextAfterEachReplacement) {
    class Trimming : public TTemplateDocument {
    public:
        std::string text;
        std::string Text() const override { return text; }
        void Replace(int offset, int length, const std::string& with) override {
            text.replace(static_cast<size_t>(offset), static_cast<size_t>(length), with);
            size_t end = text.find("\r\n", static_cast<size_t>(offset));
            if (end == std::string::npos) end = text.size();
            size_t keep = end;
            while (keep > 0 && text[keep - 1] == ' ') --keep;
            text.erase(keep, end - keep);
        }
    };
    struct Case { const char* text; const char* result; int caret; } cases[] = {
        {"a\r\n  %cur\r\n%gen %dat", "a\r\n\r\nVorn Pelm 2.00 D", 5},
        // The marker ends the text: its line shrinks to before the position.
        {"x\r\n  %cur", "x\r\n", 5},
    };
    for (const Case& c : cases) {
        Trimming doc;
        doc.text = c.text;
        EXPECT_EQ(ExpandTemplateMarkers(doc, "D", "T"), c.caret) << c.text;
        EXPECT_EQ(doc.text, c.result) << c.text;
    }
}

TEST(RecentFiles, InsertMoveAndLimit) {
    TRecentFiles r;
    r.SetMaxItems(3);
    for (const char* f : {"/a/one.html", "/a/two.html", "/a/three.html"}) r.InsertIfAbsent(f);
    EXPECT_EQ(r.Items(), (std::vector<std::string>{"/a/three.html", "/a/two.html", "/a/one.html"}));
    r.InsertIfAbsent("/A/ONE.HTML");  // already listed: keeps its place
    EXPECT_EQ(r.Items()[2], "/a/one.html");
    r.MoveToTop(2);
    EXPECT_EQ(r.Items()[0], "/a/one.html");
    r.InsertIfAbsent("/a/four.html");
    EXPECT_EQ(r.Items(), (std::vector<std::string>{"/a/four.html", "/a/one.html", "/a/three.html"}));
    r.SetMaxItems(1);
    EXPECT_EQ(r.Count(), 1);
}

TEST(RecentFiles, LoadAndSaveOnlyUpToTheMaximum) {
    test::TempDir dir;
    test::WriteFile(dir.file("pelm.ini"), "[LastOpened]\nMRU1=/x/a.htm\nMRU2=\nMRU3=/x/c.htm\nMRU4=/x/d.htm\n");
    TIniFile ini(dir.file("pelm.ini"));
    TRecentFiles r;
    r.SetMaxItems(2);
    r.Load(ini, "LastOpened");
    EXPECT_EQ(r.Items(), (std::vector<std::string>{"/x/a.htm"}));  // MRU2 empty, MRU3 not read
    r.InsertIfAbsent("/x/new.htm");
    r.Save(ini, "LastOpened");
    EXPECT_EQ(test::ReadFile(dir.file("pelm.ini")),
              "[LastOpened]\nMRU1=/x/new.htm\nMRU2=/x/a.htm\nMRU3=/x/c.htm\nMRU4=/x/d.htm\n");
    TRecentFiles none;
    none.SetMaxItems(0);
    none.Save(ini, "Other");
    EXPECT_EQ(ini.IniRead("Other", "MRU1", "-"), "-");
}

TEST(RecentFiles, Captions) {
    TRecentFiles r;
    r.SetMaxItems(40);
    for (int i = 37; i >= 0; --i) r.InsertIfAbsent("/d/f" + std::to_string(i) + ".htm");
    EXPECT_EQ(r.Caption(0), "&1 f0.htm");
    EXPECT_EQ(r.Caption(8), "&9 f8.htm");
    EXPECT_EQ(r.Caption(9), "&A f9.htm");
    EXPECT_EQ(r.Caption(34), "&Z f34.htm");
    EXPECT_EQ(r.Caption(35), "f35.htm");
    TRecentFiles amp;
    amp.InsertIfAbsent("/d/R&D.htm");
    EXPECT_EQ(amp.Caption(0), "&1 R&&D.htm");
}

#include "core/document/SearchState.h"

TEST(SearchState, HistoryMovesCaseInsensitiveDuplicateToTopAndKeepsTen) {
    std::vector<std::string> items = HistoryItems("Alpha\r\nbeta\r\ngamma");
    PushHistory(items, "BETA");
    EXPECT_EQ(items, (std::vector<std::string>{"BETA", "Alpha", "gamma"}));
    PushHistory(items, "");
    EXPECT_EQ(items.size(), 3u);
    for (int i = 0; i < 12; ++i) PushHistory(items, "t" + std::to_string(i));
    std::string text = HistoryText(items);
    EXPECT_EQ(HistoryItems(text).size(), 10u);
    EXPECT_EQ(HistoryItems(text).front(), "t11");
}

TEST(SearchState, PromptPlacement) {
    TRect area{100, 100, 600, 300};
    int left, top;
    PlaceNearPosition(area, 200, 150, 165, 328, 66, left, top);  // upper part: below the line
    EXPECT_EQ(left, 200);
    EXPECT_EQ(top, 169);
    PlaceNearPosition(area, 600, 350, 365, 328, 66, left, top);  // lower third: above, kept inside on the right
    EXPECT_EQ(left, 700 - 328);
    EXPECT_EQ(top, 350 - 66 - 4);
    PlaceNearPosition(TRect{0, 0, 300, 300}, 50, 10, 20, 328, 66, left, top);  // wider than the area: centred
    EXPECT_EQ(left, -14);
}
