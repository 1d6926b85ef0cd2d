#pragma once
// Whole reads and writes on file descriptors, bytes unconverted. Each returns
// 0 or the errno value of the failure.

#include "cli/byte_buffer.h"

#include <string_view>

namespace orvelin::cli {

// Reads until end of file. A regular file's size is asked first so that it is
// read into one block of the right size with few large reads.
int readToEnd(int fd, ByteBuffer& buffer);

// Writes every byte, going on after partial writes and interruptions.
int writeAll(int fd, std::string_view bytes);

}  // namespace orvelin::cli
