#include "cli/command_line.h"

#include <string_view>

namespace orvelin::cli {
namespace {

bool isHelp(std::string_view arg) { return arg == "-h" || arg == "--help"; }

// Help wins over every other argument, wherever it stands before "--".
bool asksForHelp(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") return false;
        if (isHelp(arg)) return true;
    }
    return false;
}

bool parseDirection(std::string_view word, Direction& direction) {
    if (word == "encode") {
        direction = Direction::Encode;
        return true;
    }
    if (word == "decode") {
        direction = Direction::Decode;
        return true;
    }
    return false;
}

// Reads the value of an option given as "--name VALUE" or "--name=VALUE".
bool takeValue(std::string_view name, int argc, const char* const* argv, int& i,
               std::optional<std::string>& value, std::string& error) {
    const std::string_view arg = argv[i];
    if (value) {
        error = std::string(name) + " is given twice";
        return false;
    }
    if (arg.size() > name.size() && arg[name.size()] == '=') {
        value = std::string(arg.substr(name.size() + 1));
    } else if (i + 1 < argc) {
        value = std::string(argv[++i]);
    } else {
        error = std::string(name) + " needs a value";
        return false;
    }
    if (value->empty()) {
        error = std::string(name) + " needs a non-empty value";
        return false;
    }
    return true;
}

bool startsWithOption(std::string_view arg, std::string_view name) {
    return arg == name || (arg.size() > name.size() && arg.substr(0, name.size()) == name &&
                           arg[name.size()] == '=');
}

struct Operands {
    bool haveCommand = false;
    bool haveInput = false;
};

// A word that is not an option: the command first, then at most one file.
bool takeOperand(std::string_view arg, Operands& seen, Request& request, std::string& error) {
    if (!seen.haveCommand) {
        if (!parseDirection(arg, request.direction)) {
            error = "unknown command '" + std::string(arg) + "' (expected encode or decode)";
            return false;
        }
        seen.haveCommand = true;
        return true;
    }
    if (seen.haveInput) {
        error = "more than one input file given";
        return false;
    }
    seen.haveInput = true;
    // "-" is standard input, as usual.
    if (arg != "-") request.inputPath = std::string(arg);
    return true;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, Request& request, std::string& error) {
    request = Request{};
    if (asksForHelp(argc, argv)) {
        request.help = true;
        return true;
    }
    Operands seen;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        bool ok = true;
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            ok = takeOperand(arg, seen, request, error);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (startsWithOption(arg, "-o") || startsWithOption(arg, "--output")) {
            ok = takeValue(arg[1] == 'o' ? "-o" : "--output", argc, argv, i, request.outputPath, error);
        } else if (startsWithOption(arg, "--code-file")) {
            ok = takeValue("--code-file", argc, argv, i, request.codeFilePath, error);
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            ok = false;
        }
        if (!ok) return false;
    }
    if (!seen.haveCommand) {
        error = "no command given (expected encode or decode)";
        return false;
    }
    return true;
}

}  // namespace orvelin::cli
