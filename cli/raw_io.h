#pragma once
// Whole reads and writes on file descriptors, bytes unconverted. Each returns
// 0 or the errno value of the failure.

#include "cli/byte_buffer.h"

#include <cstddef>
#include <cstdint>
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

// Reads until `size` bytes are in or the input ends, going on after short
// reads (a pipe gives what it holds); `got` says how many came.
int readFully(int fd, char* into, std::size_t size, std::size_t& got);

#ifndef _WIN32
// The same from a given offset of a regular file, leaving its position as it
// was.
int readFullyAt(int fd, std::uint64_t offset, char* into, std::size_t size, std::size_t& got);
#endif

// Whether both descriptors lead to the same regular file.
bool sameRegularFile(int a, int b);

// Makes a pipe hold more before its reader must take a turn: a large result
// then crosses it in far fewer hand-overs. Leaves anything else alone.
void widenPipe(int fd);

// Writes every byte, going on after partial writes and interruptions.
int writeAll(int fd, std::string_view bytes);

}  // namespace orvelin::cli
