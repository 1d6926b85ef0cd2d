#pragma once
// Where the result goes: standard output, or a file replaced whole.

#include <optional>
#include <string>
#include <string_view>

namespace orvelin::cli {

bool writeResult(const std::optional<std::string>& path, std::string_view bytes,
                 std::string& error);

}  // namespace orvelin::cli
