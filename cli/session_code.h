#pragma once
// Where the companion finds the session code: --code-file, else ORVELIN_CODE,
// else the terminal. The code arrives as UTF-8 and leaves as the Windows-1251
// bytes the window's code field would hold.

#include <optional>
#include <string>

namespace orvelin::cli {

// On failure returns false with a message naming the cause in `error`.
bool obtainSessionCode(const std::optional<std::string>& codeFilePath, std::string& code,
                       std::string& error);

}  // namespace orvelin::cli
