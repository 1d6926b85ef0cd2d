// The whole text in one piece: the streaming writer's steps, stopping at the
// first that fails (which leaves the old file as it was).
#include "platform/files/atomic_file_writer.h"

namespace orvelin::platform::files {

WriteStatus replaceFileContents(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer;
    WriteStatus status = writer.open(path);
    if (status == WriteStatus::Ok) status = writer.write(bytes);
    if (status == WriteStatus::Ok) status = writer.commit();
    return status;
}

}  // namespace orvelin::platform::files
