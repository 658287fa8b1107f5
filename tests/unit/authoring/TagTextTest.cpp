// Quoting of attribute values, colours and relative paths.
#include <gtest/gtest.h>

#include "core/authoring/ColorValue.h"
#include "core/authoring/RelativePath.h"
#include "core/authoring/TagText.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Errors.h"

namespace pelm::test {
namespace {

std::string W(std::string_view utf8) { return cp1251::FromUtf8(utf8); }

TEST(KavTest, QuotesExactlyWhenTheQuotingSetIsHit) {
    struct Case {
        std::string value, expected;
    };
    const Case cases[] = {
        {"2", "2"},                                  // digits bare
        {"_blank", "_blank"},                        // "_" is not in the set
        {"a-b+c_d{e}", "a-b+c_d{e}"},                // neither are "-", "+", braces
        {"a\tb", "a\tb"},                            // nor a tab
        {"#", "\"#\""},                              // a single "#"
        {"a b", "\"a b\""},                          // a blank inside
        {W("текст"), W("\"текст\"")},                // Russian letters
        {W("Ёж"), W("\"Ёж\"")},                      // Ё counts
        {"index.html", "\"index.html\""},            // a full stop
        {"end.", "\"end.\""},                        // the last character counts
        {"`x", "\"`x\""},                            // the grave accent
        {"#FF0000", "\"#FF0000\""},
        // A double quote inside would end the attribute: it becomes &quot;,
        // whose "&" quotes the value.
        {"a\"b", "\"a&quot;b\""},
        {"say \"hi\"", "\"say &quot;hi&quot;\""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Kav(c.value), c.expected) << c.value;
}

TEST(KavTest, TheQuotingSetHas93Characters) {
    int count = 0;
    for (int c = 0; c < 256; ++c) count += InQuotingSet(static_cast<unsigned char>(c)) ? 1 : 0;
    EXPECT_EQ(count, 93);
    for (unsigned char c : std::string("\"'=<>&")) EXPECT_EQ(InQuotingSet(c), c != '"') << c;
}

TEST(ColorValueTest, Hex2ColorSwapsTheByteOrder) {
    struct Case {
        const char* value;
        uint32_t color;
    };
    const Case cases[] = {
        {"#1a2b3c", 0x3C2B1Au}, {"#1A2B3C", 0x3C2B1Au}, {"1a2b3c", 0x3C2B1Au},
        {"#FF0000", 0x0000FFu}, {"#1a2b3c99", 0x3C2B1Au},  // characters after the sixth ignored
        {"#1#2b3c4d", 0xC4B312u},                          // every "#" goes
        {"#12#45", 0u},                                     // fewer than six left: black
    };
    for (const Case& c : cases) EXPECT_EQ(Hex2Color(c.value), c.color) << c.value;

    std::string result;
    CheckHexForHash("#ab#c", result);
    EXPECT_EQ(result, "abc");
    CheckHexForHash("ab#c", result);
    EXPECT_EQ(result, "ab#c");

    EXPECT_EQ(HtmlColor(0x3C2B1A), "#1A2B3C");
    EXPECT_EQ(HtmlColor(0), "#000000");
}

TEST(ColorValueTest, BadDigitRaisesTheConversionError) {
    try {
        Hex2Color("#12345G");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'$005G3412' is not a valid integer value");
    }
    EXPECT_THROW(MixerStartColor("#12345G"), EConvertError);
}

TEST(ColorValueTest, MixerStartColor) {
    EXPECT_EQ(MixerStartColor("#1a2b3c"), std::optional<uint32_t>(0x3C2B1A));
    EXPECT_EQ(MixerStartColor("1234567"), std::optional<uint32_t>(0));  // 7 characters without "#": black
    EXPECT_EQ(MixerStartColor("red"), std::nullopt);                    // dialog keeps its colour
    EXPECT_EQ(MixerStartColor(""), std::nullopt);
}

TEST(RelativePathTest, Table) {
    struct Case {
        const char* doc;
        const char* file;
        bool sameMount;
        const char* expected;
    };
    const Case cases[] = {
        {"/site/pages/index.htm", "/site/img/logo.gif", true, "../img/logo.gif"},
        {"/site/pages/index.htm", "/site/pages/logo.gif", true, "logo.gif"},
        {"/site/index.htm", "/site/img/a/logo.gif", true, "img/a/logo.gif"},
        {"/site/a/b/index.htm", "/site/logo.gif", true, "../../logo.gif"},
        {"/site/Pages/index.htm", "/site/pages/logo.gif", true, "../pages/logo.gif"},  // case counts
        {"/site//pages/index.htm", "/site/pages/x.css", true, "x.css"},
        {"/index.htm", "/logo.gif", true, "logo.gif"},
        {"/site/pages/index.htm", "/media/usb/logo.gif", false, "/media/usb/logo.gif"},  // another mount
        {"", "/site/img/logo.gif", true, "/site/img/logo.gif"},                          // no document file
        {"index.htm", "/site/img/logo.gif", true, "/site/img/logo.gif"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelativeFileName(c.doc, c.file, c.sameMount), c.expected) << c.doc << " " << c.file;
    EXPECT_TRUE(OnSameMount("/tmp/a.htm", "/tmp/b.gif"));
}

}  // namespace
}  // namespace pelm::test
