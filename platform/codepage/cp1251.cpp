#include "platform/codepage/cp1251.h"

#include <array>
#include <cstdint>
#include <utility>

namespace orvelin::cp1251 {
namespace {

// The upper half of the code page, bytes 0x80..0xFF. 0x98 has no character
// in Windows-1251; it keeps its own value so that every byte survives.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // 0xF8
};

struct ReverseEntry {
    char16_t ch;
    unsigned char byte;
};

// The upper half sorted by character, for a binary search on the way in.
constexpr std::array<ReverseEntry, 128> makeReverseTable() {
    std::array<ReverseEntry, 128> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = {kUpperHalf[i], static_cast<unsigned char>(0x80 + i)};
    }
    // Insertion sort: std::sort is not constexpr in C++17.
    for (std::size_t i = 1; i < table.size(); ++i) {
        const ReverseEntry entry = table[i];
        std::size_t j = i;
        for (; j > 0 && table[j - 1].ch > entry.ch; --j) {
            table[j] = table[j - 1];
        }
        table[j] = entry;
    }
    return table;
}

constexpr std::array<ReverseEntry, 128> kReverse = makeReverseTable();

constexpr unsigned char kReplacement = '?';

// Binary search in the sorted upper half; false when the code page lacks `ch`.
bool findUpperByte(char16_t ch, unsigned char& byte) {
    std::size_t low = 0;
    std::size_t high = kReverse.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (kReverse[middle].ch < ch) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == kReverse.size() || kReverse[low].ch != ch) return false;
    byte = kReverse[low].byte;
    return true;
}

bool lookUp(char32_t codePoint, unsigned char& byte) {
    if (codePoint < 0x80) {
        byte = static_cast<unsigned char>(codePoint);
        return true;
    }
    if (codePoint > 0xFFFF) return false;
    return findUpperByte(static_cast<char16_t>(codePoint), byte);
}

bool isHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool isLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

void appendUtf8(char16_t ch, std::string& out) {
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `pos`, advancing it. Rejects truncated and
// overlong sequences, surrogates and values past U+10FFFF, so that a code
// typed on the terminal has exactly one reading.
bool nextCodePoint(std::string_view utf8, std::size_t& pos, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return false;
    }
    if (utf8.size() - pos < length) return false;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[pos + i]);
        if ((next & 0xC0) != 0x80) return false;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF) return false;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
    pos += length;
    return true;
}

}  // namespace

char16_t toUnicode(unsigned char byte) {
    return byte < 0x80 ? char16_t{byte} : kUpperHalf[byte - 0x80];
}

unsigned char fromUnicode(char16_t ch) {
    unsigned char byte = kReplacement;
    return lookUp(ch, byte) ? byte : kReplacement;
}

bool hasByteFor(char16_t ch) {
    unsigned char byte = 0;
    return lookUp(ch, byte);
}

std::u16string toUtf16(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = toUnicode(static_cast<unsigned char>(bytes[i]));
    }
    return text;
}

std::string fromUtf16(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        // A character outside the basic plane is one character, so one '?'.
        if (isHighSurrogate(ch) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            bytes += static_cast<char>(kReplacement);
            ++i;
            continue;
        }
        bytes += static_cast<char>(fromUnicode(ch));
    }
    return bytes;
}

std::string toUtf8(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        appendUtf8(toUnicode(static_cast<unsigned char>(byte)), utf8);
    }
    return utf8;
}

bool fromUtf8(std::string_view utf8, std::string& bytes) {
    std::string converted;
    converted.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t codePoint = 0;
        unsigned char byte = 0;
        if (!nextCodePoint(utf8, pos, codePoint) || !lookUp(codePoint, byte)) return false;
        converted += static_cast<char>(byte);
    }
    bytes = std::move(converted);
    return true;
}

}  // namespace orvelin::cp1251
