#pragma once
// The text to code: a named file, or standard input.

#include "cli/byte_buffer.h"

#include <optional>
#include <string>

namespace orvelin::cli {

class InputSource {
public:
    InputSource() = default;
    ~InputSource();
    InputSource(const InputSource&) = delete;
    InputSource& operator=(const InputSource&) = delete;

    // Opens the file (none: standard input).
    bool open(const std::optional<std::string>& path, std::string& error);

    // Reads every byte, unconverted.
    bool readAll(ByteBuffer& bytes, std::string& error);

    // For reading in pieces instead.
    int descriptor() const { return fd_; }
    const std::string& name() const { return name_; }

private:
    int fd_ = -1;
    bool owned_ = false;
    std::string name_;
};

}  // namespace orvelin::cli
