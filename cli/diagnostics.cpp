#include "cli/diagnostics.h"

#include "cli/raw_io.h"

#include <unistd.h>

#include <cstring>

namespace orvelin::cli {

std::string withSystemReason(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

int report(int status, const std::string& message) {
    // One write, so that the line is not torn up by other writers.
    writeAll(STDERR_FILENO, "orvelin-codec: " + message + "\n");
    return status;
}

}  // namespace orvelin::cli
