#pragma once
// What the companion was asked to do, read from its arguments. The session
// code is deliberately not among them: arguments are visible to other users.

#include <optional>
#include <string>

namespace orvelin::cli {

enum class Direction { Encode, Decode };

struct Request {
    bool help = false;
    Direction direction = Direction::Encode;
    std::optional<std::string> inputPath;   // none: standard input
    std::optional<std::string> outputPath;  // none: standard output
    std::optional<std::string> codeFilePath;
};

// On a usage error returns false and describes it in `error`.
bool parseCommandLine(int argc, const char* const* argv, Request& request, std::string& error);

}  // namespace orvelin::cli
