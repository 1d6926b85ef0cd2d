#pragma once
// A file's new contents written piece by piece, for results too large to
// hold whole, with the same promise as replaceFileContents(): until commit()
// succeeds the old file stays exactly as it was, and a writer dropped before
// that leaves nothing behind.

#include "platform/files/text_file.h"

#include <memory>
#include <string>
#include <string_view>

namespace orvelin::platform::files {

class AtomicFileWriter {
public:
    AtomicFileWriter();
    ~AtomicFileWriter();  // removes the temporary file unless committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Checks that the target may be replaced and creates the temporary file
    // beside it. Keeps the target's permissions and writes through a
    // symbolic link.
    WriteStatus open(const std::string& path);

    // Appends to the new contents. After a failure every later call fails
    // too, so a caller may check only the last one.
    WriteStatus write(std::string_view bytes);

    // Puts the new contents on disk and in the target's place.
    WriteStatus commit();

private:
    struct Temporary;
    std::unique_ptr<Temporary> temporary_;
    WriteStatus status_ = WriteStatus::CannotCreate;  // until open() succeeds
};

}  // namespace orvelin::platform::files
