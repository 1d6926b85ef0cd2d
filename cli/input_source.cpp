#include "cli/input_source.h"

#include "cli/diagnostics.h"
#include "cli/raw_io.h"

#include <unistd.h>

#include <cerrno>

namespace orvelin::cli {

InputSource::~InputSource() {
    if (owned_) close(fd_);
}

bool InputSource::open(const std::optional<std::string>& path, std::string& error) {
    if (!path) {
        fd_ = STDIN_FILENO;
        name_ = "standard input";
        return true;
    }
    name_ = "'" + *path + "'";
    fd_ = openForReading(*path);
    if (fd_ < 0) {
        error = withSystemReason("cannot open " + name_, errno);
        return false;
    }
    owned_ = true;
    return true;
}

bool InputSource::readAll(ByteBuffer& bytes, std::string& error) {
    if (const int failure = readToEnd(fd_, bytes); failure != 0) {
        error = withSystemReason("cannot read " + name_, failure);
        return false;
    }
    return true;
}

}  // namespace orvelin::cli
