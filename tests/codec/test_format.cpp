// The encoded form itself: the digest, vectors worked out by hand, and the
// characters the output may and may not contain.

#include "codec_test_support.h"

#include <gtest/gtest.h>

namespace orvelin::codec_test {
namespace {

using codec::Outcome;

struct DigestCase {
    const char* name;
    std::string code;
    std::int32_t digest;
};

class Digest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(Digest, SumsDigitsAfterTheFirstAndWeighsTheMiddle) {
    EXPECT_EQ(codec::KeyDigest(GetParam().code), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Digest,
    ::testing::Values(
        // 255 * (0+1+2+3+4) + '4' (52) * 6
        DigestCase{"SixDigits", "123456", 2862},
        // 255 * (0+1+2+3+4+5) + '4' (52) * 7
        DigestCase{"SevenDigits", "1234567", 4189},
        // '1'..'9' are 49..57: 255 * (9+0+1+2+3+4+5+6+7) + '5' (53) * 10, the
        // middle of ten being index 5
        DigestCase{"TenDigits", "0123456789", 9965},
        // characters are unsigned: 255 * (5 * 5) + 255 * 6
        DigestCase{"BytesAbove127", "\x01\xFF\xFF\xFF\xFF\xFF", 7905},
        // 200 mod 10 = 0, so only the middle term: 200 * 8
        DigestCase{"MiddleOnly", std::string("\x00\x00\x00\x00\xC8\x00\x00\x00", 8), 1600}),
    [](const ::testing::TestParamInfo<DigestCase>& info) { return info.param.name; });

struct VectorCase {
    const char* name;
    std::string plain;
    std::string code;
    std::string encoded;
};

class Vector : public ::testing::TestWithParam<VectorCase> {};

TEST_P(Vector, EncodesAndDecodesAsWorkedOut) {
    const VectorCase& c = GetParam();
    std::string out;
    ASSERT_EQ(codec::encode(c.plain, c.code, out), Outcome::Ok);
    EXPECT_EQ(values(out), values(c.encoded));
    ASSERT_EQ(codec::decode(c.encoded, c.code, out), Outcome::Ok);
    EXPECT_EQ(out, c.plain);
}

INSTANTIATE_TEST_SUITE_P(
    ByHand, Vector,
    ::testing::Values(
        // S = 2862 (even). 'A' = 65: v = 65*36 + 2862 = 5202 = 20*255 + 102.
        // Even: remainder 102 first, then quotient 20, escaped as 146, 54.
        // Check = 102 * B[3 div 2] = 102 * 146 mod 255 = 102.
        // Decoding: v = 20*255 + 102 = 5202; ((5202 - 2862) div 6) div 6 = 65.
        VectorCase{"EvenEscapedSecond", "A", "123456", bytes({102, 146, 54, 102})},
        // S = 4189 (odd). 'H' = 72: v = 72*49 + 4189 = 7717 = 30*255 + 67;
        // odd: quotient 30 first, escaped as 96, 64; then 67.
        // 'i' = 105 at p = 1: v = 1000 + 5145 + 1 + 4189 = 10335 = 40*255 + 135.
        // Body 96 64 67 40 135, check = 96 * B[5 div 2] = 96 * 67 mod 255 = 57.
        VectorCase{"OddEscapedFirst", "Hi", "1234567", bytes({96, 64, 67, 40, 135, 57})},
        // S = 4189 (odd). 'b' = 98: v = 4802 + 4189 = 8991 = 35*255 + 66.
        // Body 35 66, check = 35 * B[1] = 35 * 66 mod 255 = 15: escaped, and
        // with an odd digest its prefix is 146: 146, 49.
        VectorCase{"EscapedCheckAfterOddDigest", "b", "1234567", bytes({35, 66, 146, 49})}),
    [](const ::testing::TestParamInfo<VectorCase>& info) { return info.param.name; });

bool forbidden(int value) {
    return value <= 32 || value == 127 || value == 152 || value == 160 || value == 255;
}

// What may follow a prefix: an escaped value plus 34.
bool escapedValue(int value) {
    return (value >= 34 && value <= 66) || value == 130 || value == 161 || value == 180 ||
           value == 186 || value == 194;
}

TEST(Output, HoldsOnlyPrintableCharactersAndPrefixesBeforeEscapedValues) {
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        const std::string code = randomBytes(random, 6 + random() % 5);
        const std::string plain = randomBytes(random, 1 + random() % 300);
        std::string out;
        ASSERT_EQ(codec::encode(plain, code, out), Outcome::Ok);
        ASSERT_GE(out.size(), 2 * plain.size() + 1);
        ASSERT_LE(out.size(), 4 * plain.size() + 2);
        const std::vector<int> e = values(out);
        for (std::size_t i = 0; i < e.size(); ++i) {
            ASSERT_FALSE(forbidden(e[i])) << "value " << e[i] << " at " << i;
            if (e[i] == 96 || e[i] == 146) {
                ASSERT_LT(i + 1, e.size());
                ASSERT_TRUE(escapedValue(e[i + 1])) << "after prefix at " << i;
                ++i;
            }
        }
    }
}

TEST(Output, CodingIntoTheStringThatHoldsTheInputWorks) {
    const std::string plain = allNonZeroValues(9);
    std::string expected;
    ASSERT_EQ(codec::encode(plain, "secret", expected), Outcome::Ok);

    std::string text = plain;
    ASSERT_EQ(codec::encode(text, "secret", text), Outcome::Ok);
    EXPECT_EQ(text, expected);
    ASSERT_EQ(codec::decode(text, "secret", text), Outcome::Ok);
    EXPECT_EQ(text, plain);
}

}  // namespace
}  // namespace orvelin::codec_test
