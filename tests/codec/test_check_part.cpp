// The check part: where decoding finds it and which short or altered texts
// get past it. The check ignores the code, so any valid code will do.

#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <set>

namespace orvelin::codec_test {
namespace {

using codec::Outcome;

const std::string kCode = "secret";

TEST(CheckPart, SingleCharacterPassesOnlyWhenItsSquareModuloIsItself) {
    // x * x mod 255 = x; 0 qualifies too by the same rule, though the
    // editor never holds it.
    const std::set<int> passing = {0, 1, 51, 85, 120, 136, 171, 205};
    for (int x = 0; x <= 255; ++x) {
        std::string out = "untouched";
        const Outcome outcome = codec::decode(bytes({x}), kCode, out);
        if (passing.count(x)) {
            EXPECT_EQ(outcome, Outcome::Ok) << x;
            EXPECT_EQ(out, "") << x;
        } else {
            EXPECT_EQ(outcome, Outcome::NotEncoded) << x;
            EXPECT_EQ(out, "untouched") << x;
        }
    }
}

TEST(CheckPart, PrefixAndOneCharacterIsACheckPartAlone) {
    // 96 * 96 mod 255 = 36 = 70 - 34; 146 * 146 mod 255 = 151 = 185 - 34.
    for (int prefix : {96, 146}) {
        for (int last = 0; last <= 255; ++last) {
            std::string out = "untouched";
            const Outcome outcome = codec::decode(bytes({prefix, last}), kCode, out);
            const bool passes = (prefix == 96 && last == 70) || (prefix == 146 && last == 185);
            EXPECT_EQ(outcome, passes ? Outcome::Ok : Outcome::NotEncoded) << prefix << "," << last;
            EXPECT_EQ(out, passes ? "" : "untouched") << prefix << "," << last;
        }
    }
}

// A line break appended by an editor is caught unless the check happens to
// hold for what now stands at the end.
TEST(CheckPart, AppendedLineBreakIsRefusedUnlessTheCheckStillHolds) {
    std::mt19937 random(11);
    int passedWithLineBreak = 0;
    for (int round = 0; round < 2000; ++round) {
        const std::string plain = randomBytes(random, 1 + random() % 40, 1, 255);
        std::string encodedText;
        ASSERT_EQ(codec::encode(plain, kCode, encodedText), Outcome::Ok);

        std::string out;
        const Outcome withBreak = codec::decode(encodedText + "\r\n", kCode, out);
        if (withBreak == Outcome::Ok) {
            ++passedWithLineBreak;
            ASSERT_GE(out.size(), plain.size() + 1);
            ASSERT_LE(out.size(), plain.size() + 2);
            EXPECT_EQ(out.substr(0, plain.size()), plain);
        } else {
            EXPECT_EQ(withBreak, Outcome::NotEncoded);
        }
    }
    // Passing by chance is rare but it happens.
    EXPECT_GT(passedWithLineBreak, 0);
    EXPECT_LT(passedWithLineBreak, 100);
}

}  // namespace
}  // namespace orvelin::codec_test
