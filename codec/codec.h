#pragma once
// The text codec: a text of 8-bit characters and a session code in, the
// encoded text (or the plain text) out. No user interface here; callers that
// show messages use text_codec.h.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvelin::codec {

// What a coding call came to. Every value but Ok is a rejection.
enum class Outcome {
    Ok,
    EmptyText,      // nothing to code
    BadCodeLength,  // the code is not 6..10 characters long
    NotEncoded,     // decode only: the check part does not match
};

enum class Icon { Error, Warning };

// The box a rejection is reported with. Texts are UTF-8.
struct Rejection {
    const char* text;
    const char* caption;
    Icon icon;
};

// Only meaningful for rejections (outcome != Ok).
Rejection rejectionFor(Outcome outcome);

constexpr std::size_t kMinCodeLength = 6;
constexpr std::size_t kMaxCodeLength = 10;

// The digest of a code of 6..10 characters (0 for any other length, which no
// coding call accepts); the parity of the result decides the pair order.
std::int32_t KeyDigest(std::string_view code);

// Upper bound of the encoded length of n characters.
constexpr std::size_t maxEncodedSize(std::size_t n) { return 4 * n + 2; }

// On Ok, `out` holds the result; on a rejection `out` is left untouched.
// `out` may be reused between calls to save allocations.
Outcome encode(std::string_view text, std::string_view code, std::string& out);
Outcome decode(std::string_view text, std::string_view code, std::string& out);

}  // namespace orvelin::codec
