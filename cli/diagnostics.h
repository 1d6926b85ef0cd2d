#pragma once
// Messages on standard error, all in one form: "orvelin-codec: what went wrong".

#include <string>

namespace orvelin::cli {

// "what: <the system's text for errno value `error`>".
std::string withSystemReason(const std::string& what, int error);

// Prints the message and hands back `status`, so callers can return it.
int report(int status, const std::string& message);

}  // namespace orvelin::cli
