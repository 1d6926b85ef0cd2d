#pragma once
// Whole-file reading and writing for text files, and the access tests the
// file commands make. No Qt: the companion and the Windows build use it too.
// Paths are in the system's 8-bit file name encoding (UTF-8 on Linux).

#include <cstddef>
#include <string>
#include <string_view>

namespace orvelin::platform::files {

// The operating system's access test: exists, may be read, may be written.
bool exists(const std::string& path);
bool mayRead(const std::string& path);
bool mayWrite(const std::string& path);

enum class ReadStatus {
    Ok,
    CannotOpen,  // missing, not a regular file, or unreadable
    TooLarge,    // larger than the limit; nothing was read into memory
};

// Reads a regular file whole, never blocking on a FIFO or device.
ReadStatus readRegularFile(const std::string& path, std::size_t limit, std::string& out);

enum class WriteStatus {
    Ok,
    CannotCreate,  // the file (or its temporary sibling) cannot be created, or the target is not a regular file
    WriteError,    // fewer bytes written than given, or flush/sync failed
};

// Replaces the file's contents with `bytes` so that a failure at any point
// leaves the old file exactly as it was. Keeps the target's permissions and
// writes through a symbolic link. AtomicFileWriter (atomic_file_writer.h)
// does the same for contents given piece by piece.
WriteStatus replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace orvelin::platform::files
