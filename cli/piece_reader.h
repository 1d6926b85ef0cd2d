#pragma once
// An input read in pieces of one size (the last may be shorter), any of
// which can be had again later: a regular file is read again where the piece
// lay, so memory stays one piece; anything else (a pipe, a terminal) cannot
// be, so what it gave is kept.

#include "cli/byte_buffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvelin::cli {

class PieceReader {
public:
    // `name` describes the input in messages ("'notes.txt'", "standard input").
    PieceReader(int fd, std::string name, std::size_t pieceSize);

    // The next piece; an empty one at the end of the input (and after a
    // shorter one). It stays valid until the next call.
    bool next(std::string_view& piece, std::string& error);

    // Piece number `index` again, as next() gave it; `size` is the size it
    // had then. A regular file changed in the meantime is reported.
    bool again(std::size_t index, std::size_t size, std::string_view& piece, std::string& error);

    const std::string& name() const { return name_; }

private:
    bool nextFromFile(std::string_view& piece, std::string& error);
    bool nextKept(std::string_view& piece, std::string& error);
    std::string readFailure(int error) const;

    int fd_;
    std::string name_;
    std::size_t pieceSize_;
    std::optional<std::uint64_t> fileStart_;  // a regular file's, read again there
    std::unique_ptr<char[]> piece_;  // a regular file's current piece
    ByteBuffer kept_;                // everything else's whole input
    std::size_t keptOffset_ = 0;     // where the next kept piece starts
    bool ended_ = false;
};

}  // namespace orvelin::cli
