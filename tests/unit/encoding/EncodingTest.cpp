// The encoding layer over real-shaped samples: each file is made from Russian
// text with iconv, detected, loaded into a line buffer through the document's
// codec and saved back, which must give the same bytes.
#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

#include "core/editor/TCodeEditStringList.h"
#include "core/encoding/Conversion.h"
#include "core/encoding/EncodingDetector.h"
#include "core/encoding/TDocumentCodec.h"
#include "core/platform/Cp1251.h"
#include "support/TempDir.h"

using namespace pelm;
using namespace pelm::encoding;

namespace {

// Ordinary Russian prose, long enough for a statistical guess to have something
// to read, as a page or a script would hold it.
const char* const kRussian =
    "Москва, 12 марта. Вчера в городе прошло собрание жителей, на котором обсуждали новый план "
    "застройки района. Большинство выступавших говорили о том, что во дворах не хватает деревьев, "
    "детских площадок и места для машин. Представитель администрации пообещал, что все предложения "
    "будут рассмотрены в течение месяца, а ответ опубликуют на сайте.\n"
    "Жители также просили отремонтировать старую школу и построить новую поликлинику. "
    "По словам чиновника, деньги на ремонт школы уже выделены, работы начнутся летом.\n";

// UTF-8 text in another encoding, by iconv.
std::string convert(const std::string& utf8, const char* to) {
    iconv_t cd = iconv_open(to, "UTF-8");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << to;
    std::string out(utf8.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
    EXPECT_NE(r, static_cast<size_t>(-1)) << to;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string page(const std::string& head, const std::string& body) {
    return "<html>\n<head>\n" + head + "<title>Новости</title>\n</head>\n<body>\n<p>" + body + "</p>\n</body>\n</html>\n";
}

struct Sample {
    const char* name;
    std::string bytes;
    TextEncoding expected;
    DetectionSource source;
    std::string text1251;  // what the buffer must hold, lines joined by LF
};

std::vector<Sample> samples() {
    const std::string plain = page("", kRussian);
    const std::string as1251 = convert(plain, "CP1251");
    std::vector<Sample> s;
    s.push_back({"utf8", plain, Utf8(false), DetectionSource::Utf8, as1251});
    s.push_back({"utf8_bom", "\xEF\xBB\xBF" + plain, Utf8(true), DetectionSource::Bom, as1251});
    s.push_back({"utf16le_bom", "\xFF\xFE" + convert(plain, "UTF-16LE"), Utf16Le(), DetectionSource::Bom, as1251});
    s.push_back({"utf16be_bom", "\xFE\xFF" + convert(plain, "UTF-16BE"), Utf16Be(), DetectionSource::Bom, as1251});
    s.push_back({"cp1251", as1251, Windows1251(), DetectionSource::Guess, as1251});
    s.push_back({"koi8r", convert(plain, "KOI8-R"), Koi8R(), DetectionSource::Guess, as1251});
    s.push_back({"cp866", convert(plain, "CP866"), Cp866(), DetectionSource::Guess, as1251});
    const std::string ascii = "<html>\n<body>\n<p>Plain text, nothing beyond ASCII.</p>\n</body>\n</html>\n";
    s.push_back({"ascii", ascii, Windows1251(), DetectionSource::Ascii, ascii});
    // UTF-8 cut inside a character is not UTF-8: it stays 8-bit, byte for byte.
    std::string broken = plain;
    broken.insert(broken.find("Вчера") + 1, "\xD0");
    s.push_back({"invalid_utf8", broken, Windows1251(), DetectionSource::Guess, broken});
    // A declaration wins when the bytes are valid in it...
    const std::string koiDeclared = page("<meta charset=\"koi8-r\">\n", "Привет");
    s.push_back({"declared_koi8r", convert(koiDeclared, "KOI8-R"), Koi8R(), DetectionSource::Declaration,
                 convert(koiDeclared, "CP1251")});
    const std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<root>Ёлка</root>\n";
    s.push_back({"xml_1251", convert(xml, "CP1251"), Windows1251(), DetectionSource::Declaration, convert(xml, "CP1251")});
    const std::string css = "@charset \"KOI8-R\";\n/* Шапка */\nbody { color: red; }\n";
    s.push_back({"css_koi8r", convert(css, "KOI8-R"), Koi8R(), DetectionSource::Declaration, convert(css, "CP1251")});
    const std::string perl = "#!/usr/bin/perl\nuse strict;\nuse utf8;\nprint \"Да\\n\";\n";
    s.push_back({"perl_use_utf8", perl, Utf8(false), DetectionSource::Declaration, convert(perl, "CP1251")});
    const std::string py = "#!/usr/bin/python3\n# -*- coding: cp866 -*-\nprint('Да')\n";
    s.push_back({"emacs_cp866", convert(py, "CP866"), Cp866(), DetectionSource::Declaration, convert(py, "CP1251")});
    const std::string vim = "// vim: set fileencoding=iso-8859-5 :\nvar s = 'Да';\n";
    s.push_back({"vim_iso88595", convert(vim, "ISO-8859-5"), Iso88595(), DetectionSource::Declaration,
                 convert(vim, "CP1251")});
    const std::string http =
        page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n", kRussian);
    s.push_back({"http_equiv_1251", convert(http, "CP1251"), Windows1251(), DetectionSource::Declaration,
                 convert(http, "CP1251")});
    // ...and not when they are not: 1251 bytes declared UTF-8 are guessed,
    const std::string lie = page("<meta charset=\"utf-8\">\n", kRussian);
    s.push_back({"declares_utf8_is_1251", convert(lie, "CP1251"), Windows1251(), DetectionSource::Guess,
                 convert(lie, "CP1251")});
    // and UTF-8 text under a stale 8-bit declaration is UTF-8.
    const std::string stale = page("<meta charset=\"windows-1251\">\n", kRussian);
    s.push_back({"declares_1251_is_utf8", stale, Utf8(false), DetectionSource::Utf8, convert(stale, "CP1251")});
    return s;
}

std::string joined(const TCodeEditStringList& l) {
    std::string out;
    for (int i = 0; i < l.Count(); ++i) out += std::string(l.Line(i)) + "\n";
    return out;
}

TEST(EncodingTable, EachSampleIsDetectedLoadedAndSavedBackByteForByte) {
    test::TempDir dir;
    for (const Sample& s : samples()) {
        SCOPED_TRACE(s.name);
        const Detection d = DetectEncoding(s.bytes);
        EXPECT_EQ(DisplayName(d.encoding), DisplayName(s.expected));
        EXPECT_EQ(d.source, s.source);

        const std::string file = dir.file(std::string(s.name) + ".html");
        test::WriteFile(file, s.bytes);
        TDocumentCodec codec;
        TCodeEditStringList lines;
        lines.SetFileCodec(&codec);
        lines.LoadTextFile(file);
        EXPECT_EQ(DisplayName(codec.LastLoad().encoding), DisplayName(s.expected));
        EXPECT_FALSE(codec.LastLoad().problem);
        EXPECT_EQ(joined(lines), s.text1251);
        EXPECT_EQ(lines.LineBreakFormat(), lbLf);

        const std::string saved = dir.file(std::string(s.name) + ".saved");
        lines.SaveTextFile(saved);
        EXPECT_TRUE(test::ReadFile(saved) == s.bytes) << "saved bytes differ";
    }
}

TEST(EncodingTable, LineBreaksOfWideAndEightBitFilesAreKept) {
    test::TempDir dir;
    struct Case {
        const char* to;
        std::string prefix;
        TLineBreakFormat format;
        const char* text;
    } cases[] = {
        {"UTF-16LE", "\xFF\xFE", lbCrLf, "Первая\r\nВторая\r\n"},
        {"UTF-16BE", "\xFE\xFF", lbCr, "Первая\rВторая\r"},
        {"KOI8-R", "", lbCrLf, "<?xml version=\"1.0\" encoding=\"koi8-r\"?>\r\n<a>Вторая</a>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        const std::string bytes = c.prefix + convert(c.text, c.to);
        const std::string file = dir.file("f");
        test::WriteFile(file, bytes);
        TDocumentCodec codec;
        TCodeEditStringList lines;
        lines.SetFileCodec(&codec);
        lines.LoadTextFile(file);
        EXPECT_EQ(lines.Count(), 2);
        EXPECT_EQ(lines.LineBreakFormat(), c.format);
        lines.SaveTextFile(file);
        EXPECT_TRUE(test::ReadFile(file) == bytes);
    }
}

TEST(EncodingTable, IsoCyrillicAndCp866AreToldFromWindows1251) {
    // A longer text, as a guess needs one, in the fourth 8-bit encoding.
    std::string text;
    for (int i = 0; i < 4; ++i) text += kRussian;
    EXPECT_EQ(GuessCyrillic(convert(text, "ISO-8859-5")), Iso88595());
    EXPECT_EQ(GuessCyrillic(convert(text, "CP1251")), Windows1251());
    EXPECT_EQ(GuessCyrillic(convert(text, "KOI8-R")), Koi8R());
    EXPECT_EQ(GuessCyrillic(convert(text, "CP866")), Cp866());
}

TEST(EncodingLoad, CharacterWithoutA1251ByteIsReportedWithItsLineAndTheSaveRefused) {
    test::TempDir dir;
    const std::string bytes = "<p>Первая строка</p>\n<p>Дальше \xE2\x86\x92 туда</p>\n<p>и 😀</p>\n";
    const std::string file = dir.file("arrow.html");
    test::WriteFile(file, bytes);
    TDocumentCodec codec;
    TCodeEditStringList lines;
    lines.SetFileCodec(&codec);
    lines.LoadTextFile(file);
    ASSERT_TRUE(codec.LastLoad().problem);
    EXPECT_EQ(codec.LastLoad().problem->line, 2);
    EXPECT_EQ(codec.LastLoad().problem->codePoint, U'\u2192');
    EXPECT_FALSE(codec.LastLoad().problem->invalidBytes);
    EXPECT_EQ(DisplayName(codec.LastLoad().encoding), "UTF-8");
    // The rest of the text is there to read and search.
    EXPECT_EQ(cp1251::ToUtf8(lines.Line(1)), "<p>Дальше ? туда</p>");
    EXPECT_EQ(lines.Count(), 3);
}

TEST(EncodingLoad, BytesInvalidInAChosenEncodingAreReportedNotRepaired) {
    test::TempDir dir;
    const std::string bytes = convert("строка\nещё строка\n", "CP1251");
    const std::string file = dir.file("a.txt");
    test::WriteFile(file, bytes);
    TDocumentCodec codec;
    codec.PlanNextLoad(LoadPlan{Utf8(false), std::nullopt, true});
    TCodeEditStringList lines;
    lines.SetFileCodec(&codec);
    lines.LoadTextFile(file);
    ASSERT_TRUE(codec.LastLoad().problem);
    EXPECT_TRUE(codec.LastLoad().problem->invalidBytes);
    EXPECT_EQ(codec.LastLoad().problem->line, 1);
    EXPECT_EQ(codec.LastLoad().source, DetectionSource::Chosen);
}

TEST(EncodingLoad, RememberedEncodingIsTakenOnlyWhenTheBytesAreValidInIt) {
    test::TempDir dir;
    const std::string file = dir.file("a.txt");
    test::WriteFile(file, convert(kRussian, "KOI8-R"));
    TDocumentCodec codec;
    TCodeEditStringList lines;
    lines.SetFileCodec(&codec);
    codec.PlanNextLoad(LoadPlan{std::nullopt, Iso88595(), true});
    lines.LoadTextFile(file);
    EXPECT_EQ(codec.LastLoad().source, DetectionSource::Remembered);
    EXPECT_EQ(codec.Encoding(), Iso88595());
    codec.PlanNextLoad(LoadPlan{std::nullopt, Utf8(false), true});
    lines.LoadTextFile(file);
    EXPECT_EQ(codec.LastLoad().source, DetectionSource::Guess);
    EXPECT_EQ(codec.Encoding(), Koi8R());
    // The file converted to UTF-8 since: the old 8-bit choice no longer holds.
    test::WriteFile(file, kRussian);
    codec.PlanNextLoad(LoadPlan{std::nullopt, Koi8R(), true});
    lines.LoadTextFile(file);
    EXPECT_EQ(codec.LastLoad().source, DetectionSource::Utf8);
}

TEST(EncodingLoad, TemplatesWithoutDeclarationAreWindows1251WithoutAGuess) {
    const std::string bytes = convert("/* Создано: %dat */\n", "CP1251");
    EXPECT_EQ(DetectEncoding(bytes, DetectOptions{false}).encoding, Windows1251());
    EXPECT_EQ(DetectEncoding(bytes, DetectOptions{false}).source, DetectionSource::Default);
    EXPECT_EQ(DetectEncoding("<html>%cur</html>\n", DetectOptions{false}).encoding, Windows1251());
    EXPECT_EQ(DetectEncoding("<meta charset=\"utf-8\">\n", DetectOptions{false}).encoding, Utf8(false));
}

TEST(EncodingSave, TextTheEncodingCannotHoldIsFoundAndNeverWritten) {
    test::TempDir dir;
    const std::string file = dir.file("koi.txt");
    const std::string original = convert("Привет\n", "KOI8-R");
    test::WriteFile(file, original);
    TDocumentCodec codec;
    codec.PlanNextLoad(LoadPlan{Koi8R(), std::nullopt, true});
    TCodeEditStringList lines;
    lines.SetFileCodec(&codec);
    lines.LoadTextFile(file);
    // Typed into the KOI8-R file: a euro sign (1251 byte 0x88), which KOI8-R lacks.
    lines.Add(convert("цена 5 ", "CP1251") + "\x88");
    auto problem = codec.FindUnencodable(lines);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->line, 2);
    EXPECT_EQ(problem->column, 8);
    EXPECT_EQ(problem->codePoint, U'\u20AC');
    EXPECT_THROW(lines.SaveTextFile(file), EFCreateError);
    EXPECT_EQ(test::ReadFile(file), original);
    // In UTF-8 it can be written.
    codec.SetEncoding(Utf8(false));
    EXPECT_FALSE(codec.FindUnencodable(lines));
    lines.SaveTextFile(file);
    EXPECT_EQ(test::ReadFile(file), "Привет\nцена 5 €\n");
}

TEST(EncodingSave, AsciiDocumentGainingCyrillicIsReported) {
    TDocumentCodec codec;
    codec.SetEncoding(Ascii());
    TCodeEditStringList lines;
    lines.Add("plain");
    EXPECT_FALSE(codec.FindUnencodable(lines));
    lines.Add(convert("Да", "CP1251"));
    ASSERT_TRUE(codec.FindUnencodable(lines));
    EXPECT_EQ(codec.FindUnencodable(lines)->line, 2);
}

TEST(EncodingText, PreviewTextIsWrittenInTheDocumentsEncoding) {
    const std::string text = convert("Заголовок\r\n", "CP1251");
    EXPECT_EQ(EncodeText(text, Utf8(true)), "\xEF\xBB\xBFЗаголовок\r\n");
    EXPECT_EQ(EncodeText(text, Koi8R()), convert("Заголовок\r\n", "KOI8-R"));
    std::optional<EncodeProblem> problem;
    EXPECT_EQ(EncodeText("a\r\nb\xB9", Ascii(), &problem), "a\r\nb?");
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->line, 2);
    EXPECT_EQ(problem->codePoint, U'\u2116');
}

TEST(EncodingNames, LabelsOfDeclarationsAndMenusAreUnderstood) {
    struct Case {
        const char* label;
        std::optional<std::string> display;
    } cases[] = {
        {"utf-8", "UTF-8"},         {"UTF8", "UTF-8"},          {"UTF-8 BOM", "UTF-8 BOM"},
        {"Windows-1251", "Windows-1251"}, {"x-cp1251", "Windows-1251"}, {"koi8-r", "KOI8-R"},
        {"IBM866", "CP866"},        {"iso-8859-5", "ISO-8859-5"}, {"UTF-16 LE", "UTF-16 LE"},
        {"iso-8859-1", "ISO-8859-1"}, {"iso-2022-jp", std::nullopt}, {"utf-7", std::nullopt},
        {"no-such-charset", std::nullopt}, {"", std::nullopt},   {"a b", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto e = ParseEncodingName(c.label);
        ASSERT_EQ(e.has_value(), c.display.has_value());
        if (e) {
            EXPECT_EQ(DisplayName(*e), *c.display);
        }
    }
    for (const TextEncoding& e : ChoosableEncodings()) EXPECT_EQ(ParseEncodingName(DisplayName(e)), e);
}

TEST(EncodingNames, Iconv1251TableAgreesWithTheEditorsOwn) {
    // Typing goes through the editor's table, files through iconv's: they must
    // agree, or a typed character would be saved as another.
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(static_cast<uint32_t>(UnicodeOf1251(static_cast<unsigned char>(b))),
                  static_cast<uint32_t>(cp1251::ToUnicode(static_cast<unsigned char>(b))));
    }
}

TEST(EncodingDetect, Utf8ValidityIsStrict) {
    struct Case {
        const char* bytes;
        bool valid;
    } cases[] = {
        {"plain", true},          {"\xD0\x94\xD0\xB0", true}, {"\xE2\x86\x92", true},  {"\xF0\x9F\x98\x80", true},
        {"\xC0\xAF", false},      {"\xE0\x80\xAF", false},    {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
        {"\xD0", false},          {"\x80", false},            {"\xE2\x86", false},     {"\xFF", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
    }
    // Long ASCII runs around a character, over the block boundaries of the scan.
    for (size_t at : {0u, 15u, 63u, 64u, 65u, 127u}) {
        std::string s(200, 'a');
        s.replace(at, 2, "\xD0\x94");
        EXPECT_TRUE(IsValidUtf8(s)) << at;
        s[at + 1] = 'x';
        EXPECT_FALSE(IsValidUtf8(s)) << at;
        EXPECT_EQ(FirstNonAscii(s), at);
    }
}

}  // namespace
