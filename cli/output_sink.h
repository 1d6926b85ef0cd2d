#pragma once
// Where the result goes: standard output, or a file replaced whole, which
// keeps its old contents until the whole result is in.

#include "platform/files/atomic_file_writer.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvelin::cli {

// A result handed on piece by piece. Each call returns false with a message
// in `error` on failure.
class ResultSink {
public:
    // Standard output when there is no path. A file is checked and its
    // temporary sibling created here, before anything is coded.
    bool open(const std::optional<std::string>& path, std::string& error);
    bool write(std::string_view bytes, std::string& error);
    // Puts a file's new contents in place; dropping the sink before this
    // leaves the old file as it was.
    bool finish(std::string& error);

private:
    std::optional<std::string> path_;
    platform::files::AtomicFileWriter file_;
};

// The whole result at once.
bool writeResult(const std::optional<std::string>& path, std::string_view bytes,
                 std::string& error);

}  // namespace orvelin::cli
