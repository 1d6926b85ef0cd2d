#include "reference_codec.h"

#include <cstdint>

namespace orvelin::reference {

namespace {

using codec::Outcome;

bool inEscapeSet(std::int32_t value) {
    return (value >= 0 && value <= 32) || value == 96 || value == 127 || value == 146 ||
           value == 152 || value == 160;
}

// Characters are unsigned bytes; positions past the end (or before the
// start) read as 0.
std::int32_t at(const std::string& s, std::int64_t position) {
    if (position < 0 || position >= static_cast<std::int64_t>(s.size())) return 0;
    return static_cast<unsigned char>(s[static_cast<std::size_t>(position)]);
}

void append(std::string& out, std::int32_t value) { out.push_back(static_cast<char>(value)); }

Outcome checkText(const std::string& text, const std::string& code) {
    if (text.empty()) return Outcome::EmptyText;
    if (code.size() < 6 || code.size() > 10) return Outcome::BadCodeLength;
    return Outcome::Ok;
}

}  // namespace

std::int32_t keyDigest(const std::string& code) {
    const std::int32_t length = static_cast<std::int32_t>(code.size());
    std::int32_t sum = 0;
    for (std::int32_t i = 1; i <= length - 1; ++i) sum += at(code, i) % 10;
    return 255 * sum + at(code, length / 2) * length;
}

Outcome encode(const std::string& text, const std::string& code, std::string& out) {
    const Outcome outcome = checkText(text, code);
    if (outcome != Outcome::Ok) return outcome;
    const std::int32_t S = keyDigest(code);
    const std::int32_t L = static_cast<std::int32_t>(code.size());
    const bool even = S % 2 == 0;
    std::string body;
    for (std::int64_t p = 0; p < static_cast<std::int64_t>(text.size()); ++p) {
        const std::int32_t v = static_cast<std::int32_t>(p % 15) * 1000 + at(text, p) * L * L +
                               static_cast<std::int32_t>(p % 26) + S;
        const std::int32_t q = v / 255;
        const std::int32_t r = v % 255;
        const std::int32_t first = even ? r : q;
        const std::int32_t second = even ? q : r;
        if (inEscapeSet(first)) {
            append(body, 96);
            append(body, first + 34);
        } else {
            append(body, first);
        }
        if (inEscapeSet(second)) {
            append(body, 146);
            append(body, second + 34);
        } else {
            append(body, second);
        }
    }
    const std::int64_t N = static_cast<std::int64_t>(body.size());
    const std::int32_t check = at(body, 0) * at(body, N / 2) % 255;
    if (inEscapeSet(check)) {
        append(body, even ? 96 : 146);
        append(body, check + 34);
    } else {
        append(body, check);
    }
    out = body;
    return Outcome::Ok;
}

Outcome decode(const std::string& e, const std::string& code, std::string& out) {
    const Outcome outcome = checkText(e, code);
    if (outcome != Outcome::Ok) return outcome;
    const std::int64_t m = static_cast<std::int64_t>(e.size());
    std::int64_t N;
    std::int32_t expected;
    if (at(e, m - 2) == 96 || at(e, m - 2) == 146) {
        N = m - 2;
        expected = at(e, m - 1) - 34;
    } else {
        N = m - 1;
        expected = at(e, m - 1);
    }
    if (at(e, 0) * at(e, N / 2) % 255 != expected) return Outcome::NotEncoded;

    const std::int32_t S = keyDigest(code);
    const std::int32_t L = static_cast<std::int32_t>(code.size());
    std::string result;
    std::int64_t i = 0;
    std::int64_t c = 0;
    while (i < N) {
        std::int32_t a = at(e, i);
        std::int64_t width = 1;
        if (a == 96) {
            a = at(e, i + 1) - 34;
            width = 2;
        }
        std::int32_t b = at(e, i + width);
        if (b == 146) {
            b = at(e, i + width + 1) - 34;
            width += 2;
        } else {
            width += 1;
        }
        const std::int32_t v = S % 2 == 0 ? b * 255 + a : a * 255 + b;
        const std::int32_t x =
            ((v - static_cast<std::int32_t>(c % 15) * 1000 - static_cast<std::int32_t>(c % 26) - S) / L) / L;
        append(result, x & 0xFF);
        i += width;
        c += 1;
    }
    out = result;
    return Outcome::Ok;
}

}  // namespace orvelin::reference
