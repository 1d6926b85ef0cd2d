// Decoding with the same code restores any text, for every code length and
// both digest parities; codes with the same digest are interchangeable.

#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orvelin::codec_test {
namespace {

using codec::Outcome;

std::string encoded(const std::string& text, const std::string& code) {
    std::string out;
    EXPECT_EQ(codec::encode(text, code, out), Outcome::Ok);
    return out;
}

std::string decoded(const std::string& text, const std::string& code) {
    std::string out;
    EXPECT_EQ(codec::decode(text, code, out), Outcome::Ok);
    return out;
}

class RoundTrip : public ::testing::TestWithParam<std::tuple<int, bool>> {
protected:
    std::string code() const {
        const auto [length, odd] = GetParam();
        const std::string c = codeWithParity(static_cast<std::size_t>(length), odd);
        EXPECT_EQ(codec::KeyDigest(c) % 2 != 0, odd);
        return c;
    }
};

TEST_P(RoundTrip, RestoresEveryCharacterValue) {
    const std::string key = code();
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        const std::string text = allNonZeroValues(seed);
        EXPECT_EQ(decoded(encoded(text, key), key), text) << "seed " << seed;
    }
}

TEST_P(RoundTrip, RestoresRandomTextsOfManyLengths) {
    const std::string key = code();
    std::mt19937 random(static_cast<std::uint32_t>(std::get<0>(GetParam()) * 2 + std::get<1>(GetParam())));
    // Lengths around the position period (390) and the internal chunk size
    // (4096) included; the value 0 too, though the editor never holds it.
    for (std::size_t length : {1u, 2u, 3u, 389u, 390u, 391u, 4095u, 4096u, 4097u, 9001u}) {
        const std::string text = randomBytes(random, length);
        EXPECT_EQ(decoded(encoded(text, key), key), text) << "length " << length;
    }
}

INSTANTIATE_TEST_SUITE_P(AllLengthsBothParities, RoundTrip,
                         ::testing::Combine(::testing::Range(6, 11), ::testing::Bool()));

struct SameDigestCase {
    const char* name;
    std::string code;
    std::string twin;
};

class SameDigest : public ::testing::TestWithParam<SameDigestCase> {};

TEST_P(SameDigest, CodesAreInterchangeable) {
    const SameDigestCase& c = GetParam();
    ASSERT_EQ(codec::KeyDigest(c.code), codec::KeyDigest(c.twin));
    const std::string text = allNonZeroValues(7) + "Привет, мир\r\n";
    const std::string byCode = encoded(text, c.code);
    EXPECT_EQ(encoded(text, c.twin), byCode);
    EXPECT_EQ(decoded(byCode, c.twin), text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SameDigest,
    ::testing::Values(SameDigestCase{"FirstCharacter", "secret", "Xecret"},
                      SameDigestCase{"FirstCharacterBytesAbove127", "\xC0\xC1\xC2\xC3\xC4\xC5\xC6",
                                     "\x01\xC1\xC2\xC3\xC4\xC5\xC6"},
                      // '1' (49) and ';' (59) are equal modulo 10; index 3 is
                      // not the middle of 9 characters (that is index 4).
                      SameDigestCase{"NonMiddleEqualModTen", "abc1efghi", "abc;efghi"},
                      SameDigestCase{"LastCharacterEqualModTen", "0123456789", "012345678\xF7"}),
    [](const ::testing::TestParamInfo<SameDigestCase>& info) { return info.param.name; });

TEST(OtherDigest, DecodesSilentlyIntoOtherCharactersOfTheSameCount) {
    const std::string text = allNonZeroValues(3);
    const std::string encodedText = encoded(text, "secret");
    ASSERT_NE(codec::KeyDigest("secret"), codec::KeyDigest("secreu"));
    const std::string other = decoded(encodedText, "secreu");
    EXPECT_EQ(other.size(), text.size());
    EXPECT_NE(other, text);
}

}  // namespace
}  // namespace orvelin::codec_test
