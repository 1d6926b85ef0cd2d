// What each direction refuses, in which order, and how it tells the owner:
// exactly one box when asked to, the text always handed back unchanged.

#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <string_view>

namespace orvelin::codec_test {
namespace {

using codec::Icon;
using codec::Outcome;

constexpr const char* kEmptyText = "Нет данных, которые нужно кодировать";
constexpr const char* kBadLength = "Пароль должен быть по длине не меньше 6 и не больше 10";
constexpr const char* kNotEncoded =
    "Текст не является закодированным либо код испорчен.\nДекодирование не возможно!";

enum class Direction { Encode, Decode };

struct RejectionCase {
    const char* name;
    Direction direction;
    std::string text;
    std::string code;
    Outcome outcome;
    const char* message;
    Icon icon;
};

std::string run(Direction direction, codec::MessageOwner* owner, const std::string& text,
                const std::string& code, bool showMessages) {
    return direction == Direction::Encode ? codec::EncodeText(owner, text, code, showMessages)
                                          : codec::DecodeText(owner, text, code, showMessages);
}

Outcome runPlain(Direction direction, const std::string& text, const std::string& code,
                 std::string& out) {
    return direction == Direction::Encode ? codec::encode(text, code, out)
                                          : codec::decode(text, code, out);
}

class Rejected : public ::testing::TestWithParam<RejectionCase> {};

TEST_P(Rejected, ShowsOneBoxAndReturnsTheTextUnchanged) {
    const RejectionCase& c = GetParam();
    RecordingOwner owner;
    EXPECT_EQ(run(c.direction, &owner, c.text, c.code, true), c.text);
    ASSERT_EQ(owner.shown.size(), 1u);
    EXPECT_STREQ(owner.shown[0].text, c.message);
    EXPECT_STREQ(owner.shown[0].caption, "Ошибка");
    EXPECT_EQ(owner.shown[0].icon, c.icon);
}

TEST_P(Rejected, StaysSilentWhenMessagesAreOff) {
    const RejectionCase& c = GetParam();
    RecordingOwner owner;
    EXPECT_EQ(run(c.direction, &owner, c.text, c.code, false), c.text);
    EXPECT_TRUE(owner.shown.empty());
    // Without an owner there is nobody to show the box to.
    EXPECT_EQ(run(c.direction, nullptr, c.text, c.code, true), c.text);
}

TEST_P(Rejected, PlainCallReportsTheOutcomeAndLeavesTheOutputAlone) {
    const RejectionCase& c = GetParam();
    std::string out = "previous result";
    EXPECT_EQ(runPlain(c.direction, c.text, c.code, out), c.outcome);
    EXPECT_EQ(out, "previous result");
    const codec::Rejection rejection = codec::rejectionFor(c.outcome);
    EXPECT_STREQ(rejection.text, c.message);
    EXPECT_EQ(rejection.icon, c.icon);
}

const std::string kText = "Plain text\r\n";
// 'N' (78) * 'n' (110) mod 255 = 165, not 'd' (100).
const std::string kNotEncodedText = "Not encoded";
// 102 * 146 mod 255 = 102: passes the check whatever the code.
const std::string kEncoded = bytes({102, 146, 54, 102});

INSTANTIATE_TEST_SUITE_P(
    Cases, Rejected,
    ::testing::Values(
        RejectionCase{"EncodeEmpty", Direction::Encode, "", "secret", Outcome::EmptyText, kEmptyText, Icon::Error},
        RejectionCase{"DecodeEmpty", Direction::Decode, "", "secret", Outcome::EmptyText, kEmptyText, Icon::Error},
        // The empty text is reported before the code's length.
        RejectionCase{"EncodeEmptyWithShortCode", Direction::Encode, "", "abc", Outcome::EmptyText, kEmptyText, Icon::Error},
        RejectionCase{"DecodeEmptyWithLongCode", Direction::Decode, "", "abcdefghijk", Outcome::EmptyText, kEmptyText, Icon::Error},
        RejectionCase{"EncodeCodeOfFive", Direction::Encode, kText, "abcde", Outcome::BadCodeLength, kBadLength, Icon::Error},
        RejectionCase{"EncodeCodeOfEleven", Direction::Encode, kText, "abcdefghijk", Outcome::BadCodeLength, kBadLength, Icon::Error},
        RejectionCase{"EncodeNoCode", Direction::Encode, kText, "", Outcome::BadCodeLength, kBadLength, Icon::Error},
        RejectionCase{"DecodeCodeOfFive", Direction::Decode, kEncoded, "abcde", Outcome::BadCodeLength, kBadLength, Icon::Error},
        RejectionCase{"DecodeCodeOfEleven", Direction::Decode, kEncoded, "abcdefghijk", Outcome::BadCodeLength, kBadLength, Icon::Error},
        // The code's length is reported before the check.
        RejectionCase{"DecodeNotEncodedWithBadCode", Direction::Decode, kNotEncodedText, "abcde", Outcome::BadCodeLength, kBadLength, Icon::Error},
        RejectionCase{"DecodeNotEncoded", Direction::Decode, kNotEncodedText, "secret", Outcome::NotEncoded, kNotEncoded, Icon::Warning}),
    [](const ::testing::TestParamInfo<RejectionCase>& info) { return info.param.name; });

TEST(Accepted, ShowsNoBox) {
    RecordingOwner owner;
    const std::string encodedText = codec::EncodeText(&owner, kText, "secret", true);
    EXPECT_NE(encodedText, kText);
    EXPECT_EQ(codec::DecodeText(&owner, encodedText, "secret", true), kText);
    EXPECT_TRUE(owner.shown.empty());
}

}  // namespace
}  // namespace orvelin::codec_test
