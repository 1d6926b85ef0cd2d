// A changed body character that the check does not look at: a changed value
// spoils at most its own pair, a changed prefix shifts the grouping.

#include "codec_test_support.h"

#include <gtest/gtest.h>

namespace orvelin::codec_test {
namespace {

using codec::Outcome;

// Where each group of an encoded text starts and which of its characters
// are values (as opposed to prefixes), read the way the decoder reads them.
struct Layout {
    std::vector<std::size_t> groupOf;  // group index of each body character
    std::vector<bool> isPrefix;
    std::vector<bool> isRemainder;     // the value holding v mod 255
};

Layout layoutOf(const std::string& encodedText, std::size_t bodyLength, bool oddDigest) {
    Layout layout;
    const std::vector<int> e = values(encodedText);
    std::size_t group = 0;
    for (std::size_t i = 0; i < bodyLength; ++group) {
        for (int half = 0; half < 2; ++half) {
            const bool remainder = (half == 0) != oddDigest;
            const bool prefixed = e[i] == (half == 0 ? 96 : 146);
            for (int k = 0; k < (prefixed ? 2 : 1); ++k, ++i) {
                layout.groupOf.push_back(group);
                layout.isPrefix.push_back(prefixed && k == 0);
                layout.isRemainder.push_back(remainder && !(prefixed && k == 0));
            }
        }
    }
    return layout;
}

struct DamageCase {
    const char* name;
    std::string code;
};

class Damage : public ::testing::TestWithParam<DamageCase> {
protected:
    void SetUp() override {
        plain = allNonZeroValues(5) + allNonZeroValues(6);
        ASSERT_EQ(codec::encode(plain, GetParam().code, encodedText), Outcome::Ok);
        const bool checkEscaped = encodedText[encodedText.size() - 2] == '\x60' ||
                                  encodedText[encodedText.size() - 2] == '\x92';
        bodyLength = encodedText.size() - (checkEscaped ? 2 : 1);
        oddDigest = codec::KeyDigest(GetParam().code) % 2 != 0;
        layout = layoutOf(encodedText, bodyLength, oddDigest);
    }

    // Positions the check does not read.
    bool unchecked(std::size_t i) const { return i != 0 && i != bodyLength / 2; }

    std::string plain;
    std::string encodedText;
    std::size_t bodyLength = 0;
    bool oddDigest = false;
    Layout layout;
};

TEST_P(Damage, ChangedValueSpoilsAtMostItsOwnCharacter) {
    const std::string& code = GetParam().code;
    for (std::size_t i = 1; i < bodyLength; ++i) {
        if (!unchecked(i) || layout.isPrefix[i]) continue;
        for (int value : {33, 120, 200, 254}) {
            std::string damaged = encodedText;
            damaged[i] = static_cast<char>(value);
            std::string out;
            ASSERT_EQ(codec::decode(damaged, code, out), Outcome::Ok) << i;
            ASSERT_EQ(out.size(), plain.size());
            const std::size_t group = layout.groupOf[i];
            for (std::size_t k = 0; k < plain.size(); ++k)
                if (k != group) ASSERT_EQ(out[k], plain[k]) << "character " << k << ", changed " << i;
        }
    }
}

TEST_P(Damage, RemainderRaisedByLessThanLSquaredChangesNothing) {
    const std::string& code = GetParam().code;
    const int squared = static_cast<int>(code.size() * code.size());
    int tried = 0;
    for (std::size_t i = 1; i < bodyLength; ++i) {
        if (!unchecked(i) || !layout.isRemainder[i]) continue;
        // Only plainly written remainders: an escaped one carries the shift.
        if (layout.isPrefix[i - 1]) continue;
        const int value = static_cast<unsigned char>(encodedText[i]);
        const int raised = value + squared - 1;
        if (raised > 255 || raised == 96 || raised == 146) continue;
        std::string damaged = encodedText;
        damaged[i] = static_cast<char>(raised);
        std::string out;
        ASSERT_EQ(codec::decode(damaged, code, out), Outcome::Ok);
        EXPECT_EQ(out, plain) << "changed " << i;
        ++tried;
    }
    EXPECT_GT(tried, 20);
}

TEST_P(Damage, ChangedPrefixShiftsTheRestOfTheText) {
    const std::string& code = GetParam().code;
    int tried = 0;
    for (std::size_t i = 1; i < bodyLength; ++i) {
        if (!unchecked(i) || !layout.isPrefix[i]) continue;
        std::string damaged = encodedText;
        damaged[i] = 'A';
        std::string out;
        ASSERT_EQ(codec::decode(damaged, code, out), Outcome::Ok);
        // The escaped value now stands as a value of its own.
        EXPECT_NE(out.size(), plain.size()) << "changed " << i;
        const std::size_t group = layout.groupOf[i];
        EXPECT_EQ(out.substr(0, group), plain.substr(0, group));
        ++tried;
    }
    EXPECT_GT(tried, 20);
}

INSTANTIATE_TEST_SUITE_P(Codes, Damage,
                         ::testing::Values(DamageCase{"Even", codeWithParity(7, false)},
                                           DamageCase{"Odd", codeWithParity(9, true)}),
                         [](const ::testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

}  // namespace
}  // namespace orvelin::codec_test
