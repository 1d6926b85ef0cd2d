#pragma once
// Whole reads and writes on file descriptors, bytes unconverted. Each returns
// 0 or the errno value of the failure.

#include "cli/byte_buffer.h"

#include <string>
#include <string_view>

namespace orvelin::cli {

// Windows would otherwise turn CR LF into LF on the way in and back on the
// way out; the codec must see and give the bytes as they are.
void useBinaryStandardStreams();

// Opens a file for reading as raw bytes, not inherited by child processes.
// Returns the descriptor, or -1 with errno set.
int openForReading(const std::string& path);

// Reads until end of file. A regular file's size is asked first so that it is
// read into one block of the right size with few large reads.
int readToEnd(int fd, ByteBuffer& buffer);

// Writes every byte, going on after partial writes and interruptions.
int writeAll(int fd, std::string_view bytes);

}  // namespace orvelin::cli
