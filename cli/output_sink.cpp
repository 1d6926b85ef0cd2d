#include "cli/output_sink.h"

#include "cli/diagnostics.h"
#include "cli/raw_io.h"

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

// Runs one step of the file writer, with errno cleared first so that a stale
// value is not blamed.
template <typename Step>
bool fileStep(Step step, const std::string& path, std::string& error) {
    errno = 0;
    const files::WriteStatus status = step();
    if (status == files::WriteStatus::Ok) return true;
    error = describeWriteFailure(status, path, errno);
    return false;
}

}  // namespace

bool ResultSink::open(const std::optional<std::string>& path, std::string& error) {
    path_ = path;
    if (!path_) widenPipe(STDOUT_FILENO);
    return !path_ || fileStep([&] { return file_.open(*path_); }, *path_, error);
}

bool ResultSink::write(std::string_view bytes, std::string& error) {
    if (path_) return fileStep([&] { return file_.write(bytes); }, *path_, error);
    if (const int failure = writeAll(STDOUT_FILENO, bytes); failure != 0) {
        error = withSystemReason("cannot write standard output", failure);
        return false;
    }
    return true;
}

bool ResultSink::finish(std::string& error) {
    return !path_ || fileStep([&] { return file_.commit(); }, *path_, error);
}

bool writeResult(const std::optional<std::string>& path, std::string_view bytes,
                 std::string& error) {
    ResultSink sink;
    return sink.open(path, error) && sink.write(bytes, error) && sink.finish(error);
}

}  // namespace orvelin::cli
