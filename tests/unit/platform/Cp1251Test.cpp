#include <gtest/gtest.h>

#include "core/platform/Cp1251.h"

using namespace pelm;

TEST(Cp1251, CaseMapping) {
    struct Case { unsigned char lower, upper; } pairs[] = {
        {'a', 'A'}, {'z', 'Z'}, {0xE0, 0xC0} /* а А */, {0xFF, 0xDF} /* я Я */, {0xB8, 0xA8} /* ё Ё */,
        {0xB3, 0xB2} /* і І */, {0xBF, 0xAF} /* ї Ї */, {0x9A, 0x8A} /* љ Љ */, {0xB4, 0xA5} /* ґ Ґ */,
    };
    for (const Case& c : pairs) {
        EXPECT_EQ(cp1251::ToUpper(c.lower), c.upper) << int(c.lower);
        EXPECT_EQ(cp1251::ToLower(c.upper), c.lower) << int(c.upper);
    }
    // Bytes without a case stay as they are.
    for (int b : {int('1'), int('_'), 0xB9 /* № */, 0xA0}) {
        EXPECT_EQ(cp1251::ToUpper(static_cast<unsigned char>(b)), b);
        EXPECT_EQ(cp1251::ToLower(static_cast<unsigned char>(b)), b);
    }
    EXPECT_EQ(cp1251::UpperCase("abc\xe0\xe1\xe2"), "ABC\xc0\xc1\xc2");
}

TEST(Cp1251, LetterOrDigitClass) {
    for (int b : {int('a'), int('Z'), int('0'), int('9'), 0xC0, 0xFF, 0xA8, 0xB8})
        EXPECT_TRUE(cp1251::IsAlphaNumeric(static_cast<unsigned char>(b))) << b;
    for (int b : {int(' '), int('_'), int('-'), int('<'), 0x00, 0x97, 0xAB, 0xB9})
        EXPECT_FALSE(cp1251::IsAlphaNumeric(static_cast<unsigned char>(b))) << b;
}

TEST(Cp1251, UnicodeConversionRoundTrips) {
    EXPECT_EQ(cp1251::ToUnicode(0xC0), u'\u0410');
    EXPECT_EQ(cp1251::ToUnicode(0x88), u'\u20AC');
    EXPECT_EQ(cp1251::ToUnicode(0xB9), u'\u2116');
    EXPECT_EQ(cp1251::ToUnicode(0x98), u'\uFFFD');
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;
        EXPECT_EQ(cp1251::FromUnicode(cp1251::ToUnicode(static_cast<unsigned char>(b))), b);
    }
    EXPECT_EQ(cp1251::FromUnicode(U'\u4E2D'), -1);
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98) all += static_cast<char>(b);
    EXPECT_EQ(cp1251::FromUtf8(cp1251::ToUtf8(all)), all);
    // "Привет, мир" in UTF-8; a character outside the code page is dropped.
    EXPECT_EQ(cp1251::FromUtf8("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82 \xe4\xb8\xad!"), "\xcf\xf0\xe8\xe2\xe5\xf2 !");
}
