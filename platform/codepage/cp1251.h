#pragma once
// Windows-1251, the one 8-bit code page of every text the program handles.
// All 256 byte values map one to one (0x98, unused by the code page, maps to
// U+0098), so any file's bytes survive a trip through Unicode and back.

#include <string>
#include <string_view>

namespace orvelin::cp1251 {

char16_t toUnicode(unsigned char byte);

// A character the code page lacks becomes '?'.
unsigned char fromUnicode(char16_t ch);
bool hasByteFor(char16_t ch);

std::u16string toUtf16(std::string_view bytes);
std::string fromUtf16(std::u16string_view text);

// For the terminal: UTF-8 in and out. fromUtf8 fails (returns false) on
// malformed UTF-8 or on a character the code page lacks, leaving `bytes` as
// it was.
std::string toUtf8(std::string_view bytes);
bool fromUtf8(std::string_view utf8, std::string& bytes);

}  // namespace orvelin::cp1251
