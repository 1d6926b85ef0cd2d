// Encoding piece by piece must give exactly what encoding the whole text
// gives, wherever the pieces start and end: across the 390-position period
// of the position terms, across the vector kernels' 16-character blocks,
// and with pieces of one character.

#include "codec/body_encoder.h"
#include "codec/kernel_choice.h"
#include "codec_test_support.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace orvelin::codec_test {
namespace {

// Encodes `text` in pieces: first `firstPiece` characters, then pieces of
// `piece` characters. Each piece goes to a buffer of exactly 4 bytes per
// character, so that a write past that room shows under the sanitizers.
std::string encodeInPieces(const std::string& text, const std::string& code, std::size_t firstPiece,
                           std::size_t piece) {
    const codec::BodyEncoder encoder(code);
    const auto* input = reinterpret_cast<const unsigned char*>(text.data());
    std::string body;
    for (std::size_t done = 0; done < text.size();) {
        const std::size_t count = std::min(done == 0 ? firstPiece : piece, text.size() - done);
        std::vector<unsigned char> room(4 * count);
        const std::size_t written = encoder.encodeBody(input + done, count, done, room.data());
        EXPECT_LE(written, room.size());
        body.append(reinterpret_cast<const char*>(room.data()), written);
        done += count;
    }
    unsigned char part[codec::BodyEncoder::kMaxCheckPartSize];
    const std::size_t partSize = encoder.appendCheckPart(static_cast<unsigned char>(body[0]),
                                                         static_cast<unsigned char>(body[body.size() / 2]), part);
    return body + std::string(reinterpret_cast<const char*>(part), partSize);
}

// Vector kernels on or off, digest parity odd or not.
class PieceByPiece : public ::testing::TestWithParam<std::tuple<bool, bool>> {
protected:
    void SetUp() override {
        const bool vector = std::get<0>(GetParam());
        if (vector && !codec::vectorKernelsSupported()) GTEST_SKIP() << "no vector kernels here";
        codec::allowVectorKernels(vector);
    }
    void TearDown() override { codec::allowVectorKernels(true); }
    bool oddDigest() const { return std::get<1>(GetParam()); }
};

TEST_P(PieceByPiece, GivesTheWholeTextsEncoding) {
    std::mt19937 random(11);
    // Escaped values and prefixes are common among small characters.
    const std::string text = randomBytes(random, 3 * 4096 + 123, 0, 40) + randomBytes(random, 5000);
    for (std::size_t codeLength : {6u, 10u}) {
        const std::string code = codeWithParity(codeLength, oddDigest());
        std::string whole;
        ASSERT_EQ(codec::encode(text, code, whole), codec::Outcome::Ok);
        for (std::size_t piece : {1u, 389u, 390u, 391u, 4096u}) {
            for (std::size_t firstPiece : {piece, std::size_t{1}, std::size_t{17}, std::size_t{395}}) {
                SCOPED_TRACE("code length " + std::to_string(codeLength) + ", pieces of " +
                             std::to_string(piece) + " after one of " + std::to_string(firstPiece));
                ASSERT_TRUE(encodeInPieces(text, code, firstPiece, piece) == whole);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(KernelsAndParities, PieceByPiece,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) ? "Vector" : "Portable") +
                                    (std::get<1>(info.param) ? "OddDigest" : "EvenDigest");
                         });

}  // namespace
}  // namespace orvelin::codec_test
