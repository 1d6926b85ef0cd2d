// The code page table and its conversions. glibc's iconv serves as an
// independent copy of the Windows-1251 table, so a mistyped entry shows.

#include "platform/codepage/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <set>
#include <string>

namespace cp = orvelin::cp1251;

namespace {

std::string allByteValues() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes;
}

// The system's reading of one Windows-1251 byte as UTF-16LE; 0 when it has none.
char16_t systemReading(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || sizeof out - outLeft != 2) return 0;
    return static_cast<char16_t>(out[0] | (out[1] << 8));
}

}  // namespace

TEST(Cp1251, EveryByteRoundTripsThroughUtf16AndUtf8) {
    const std::string bytes = allByteValues();

    EXPECT_EQ(cp::fromUtf16(cp::toUtf16(bytes)), bytes);

    std::string back = "untouched";
    ASSERT_TRUE(cp::fromUtf8(cp::toUtf8(bytes), back));
    EXPECT_EQ(back, bytes);

    const std::u16string text = cp::toUtf16(bytes);
    EXPECT_EQ(std::set<char16_t>(text.begin(), text.end()).size(), 256u)
        << "two bytes share a character";
}

TEST(Cp1251, KnownMappings) {
    const struct {
        unsigned char byte;
        char16_t ch;
    } cases[] = {
        {0x00, 0x0000}, {0x41, 0x0041}, {0x7F, 0x007F}, {0xC0, 0x0410},
        {0xE0, 0x0430}, {0xFF, 0x044F}, {0xA8, 0x0401}, {0xB8, 0x0451},
        {0xB9, 0x2116}, {0x88, 0x20AC}, {0x98, 0x0098}, {0xA0, 0x00A0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << int{c.byte});
        EXPECT_EQ(cp::toUnicode(c.byte), c.ch);
        EXPECT_EQ(cp::fromUnicode(c.ch), c.byte);
    }
}

TEST(Cp1251, TableAgreesWithTheSystemCodePage) {
    if (systemReading(0xC0) != 0x0410) GTEST_SKIP() << "iconv has no CP1251 here";
    for (int value = 0x80; value < 0x100; ++value) {
        if (value == 0x98) continue;  // undefined in Windows-1251; ours keeps the value
        const auto byte = static_cast<unsigned char>(value);
        EXPECT_EQ(cp::toUnicode(byte), systemReading(byte)) << "byte 0x" << std::hex << value;
    }
}

TEST(Cp1251, ReverseTableIsTheInverseOfTheForwardOne) {
    int mapped = 0;
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const auto ch = static_cast<char16_t>(c);
        if (!cp::hasByteFor(ch)) {
            ASSERT_EQ(cp::fromUnicode(ch), '?') << "U+" << std::hex << int{ch};
            continue;
        }
        ++mapped;
        ASSERT_EQ(cp::toUnicode(cp::fromUnicode(ch)), ch) << "U+" << std::hex << int{ch};
    }
    EXPECT_EQ(mapped, 256);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    // U+00E9, U+4E2D, an emoji (one character, two code units) and a lone
    // surrogate of each kind.
    std::u16string text = u"a\u00E9b\u4E2Dc\U0001F600d";
    text += {char16_t{0xD800}, u'e', char16_t{0xDC00}};
    EXPECT_EQ(cp::fromUtf16(text), "a?b?c?d?e?");
    EXPECT_FALSE(cp::hasByteFor(u'\u00E9'));
    EXPECT_FALSE(cp::hasByteFor(u'\u4E2D'));
    EXPECT_TRUE(cp::hasByteFor(u'?'));
}

TEST(Cp1251, Utf8OfACyrillicCode) {
    std::string bytes;
    ASSERT_TRUE(cp::fromUtf8("пароль1", bytes));
    EXPECT_EQ(bytes, "\xEF\xE0\xF0\xEE\xEB\xFC\x31");
    EXPECT_EQ(cp::toUtf8(bytes), "пароль1");
}

TEST(Cp1251, Utf8ThatCannotBeTakenIsRefusedAndChangesNothing) {
    const struct {
        const char* what;
        std::string utf8;
    } cases[] = {
        {"character outside the code page", "caf\xC3\xA9"},
        {"character outside the basic plane", "\xF0\x9F\x98\x80"},
        {"truncated sequence", "ab\xD0"},
        {"lone continuation byte", "\x80"},
        {"overlong form of '/'", "\xC0\xAF"},
        {"overlong three-byte form", "\xE0\x80\xAF"},
        {"encoded surrogate", "\xED\xA0\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80"},
        {"invalid lead byte", "\xFF"},
    };
    for (const auto& c : cases) {
        std::string bytes = "kept";
        EXPECT_FALSE(cp::fromUtf8(c.utf8, bytes)) << c.what;
        EXPECT_EQ(bytes, "kept") << c.what;
    }
}
