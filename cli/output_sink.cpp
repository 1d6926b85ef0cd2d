#include "cli/output_sink.h"

#include "cli/diagnostics.h"
#include "cli/raw_io.h"
#include "platform/files/text_file.h"

#include <unistd.h>

#include <cerrno>

namespace orvelin::cli {
namespace {

namespace files = orvelin::platform::files;

// The file layer reports no errno of its own; the one it leaves behind is
// shown only when there is one.
std::string describeWriteFailure(files::WriteStatus status, const std::string& path, int error) {
    const std::string what = (status == files::WriteStatus::CannotCreate ? "cannot create '"
                                                                         : "cannot write '") +
                             path + "'";
    return error != 0 ? withSystemReason(what, error) : what;
}

bool writeFile(const std::string& path, std::string_view bytes, std::string& error) {
    errno = 0;
    const files::WriteStatus status = files::replaceFileContents(path, bytes);
    if (status == files::WriteStatus::Ok) return true;
    error = describeWriteFailure(status, path, errno);
    return false;
}

bool writeStandardOutput(std::string_view bytes, std::string& error) {
    if (const int failure = writeAll(STDOUT_FILENO, bytes); failure != 0) {
        error = withSystemReason("cannot write standard output", failure);
        return false;
    }
    return true;
}

}  // namespace

bool writeResult(const std::optional<std::string>& path, std::string_view bytes,
                 std::string& error) {
    return path ? writeFile(*path, bytes, error) : writeStandardOutput(bytes, error);
}

}  // namespace orvelin::cli
