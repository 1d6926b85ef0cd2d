#pragma once
// Asks for a secret on the controlling terminal with echo switched off.

#include <string>

namespace orvelin::cli {

enum class PromptResult {
    Ok,
    NoTerminal,  // the process has no controlling terminal to ask on
    Failed,      // the terminal could not be set up or read; errno tells why
};

// Shows `prompt` on standard error and reads one line from /dev/tty without
// echo, without its line break. The terminal's settings come back even when
// the user interrupts.
PromptResult readHiddenLine(const char* prompt, std::string& line);

}  // namespace orvelin::cli
