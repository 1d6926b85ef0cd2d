#pragma once
// Coding a string into itself must not clear the text before it is read.

#include <functional>
#include <string>
#include <string_view>

namespace orvelin::codec {

inline bool viewsInto(std::string_view text, const std::string& out) {
    const std::less<const char*> before;
    const char* begin = out.data();
    const char* end = begin + out.size();
    return !text.empty() && !before(text.data(), begin) && before(text.data(), end);
}

}  // namespace orvelin::codec
