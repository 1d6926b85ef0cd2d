#include "cli/piece_reader.h"

#include "cli/diagnostics.h"
#include "cli/raw_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

namespace orvelin::cli {
namespace {

// Where reading starts in a regular file: standard input need not be at its
// start. None for anything else, and on Windows, which has no pread: there
// every input is kept.
std::optional<std::uint64_t> startInRegularFile(int fd) {
#ifdef _WIN32
    (void)fd;
    return std::nullopt;
#else
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    const off_t start = lseek(fd, 0, SEEK_CUR);
    if (start < 0) return std::nullopt;
    return static_cast<std::uint64_t>(start);
#endif
}

}  // namespace

PieceReader::PieceReader(int fd, std::string name, std::size_t pieceSize)
    : fd_(fd), name_(std::move(name)), pieceSize_(pieceSize), fileStart_(startInRegularFile(fd)) {}

// A short piece ends the input for good: a terminal would otherwise wait for
// more after the user ended it, and a file that grows meanwhile would give
// pieces of other sizes.
bool PieceReader::next(std::string_view& piece, std::string& error) {
    if (ended_) {
        piece = {};
        return true;
    }
    const bool read = fileStart_ ? nextFromFile(piece, error) : nextKept(piece, error);
    ended_ = !read || piece.size() < pieceSize_;
    return read;
}

bool PieceReader::nextFromFile(std::string_view& piece, std::string& error) {
    if (!piece_) piece_.reset(new char[pieceSize_]);
    std::size_t got = 0;
    if (const int failure = readFully(fd_, piece_.get(), pieceSize_, got); failure != 0) {
        error = readFailure(failure);
        return false;
    }
    piece = {piece_.get(), got};
    return true;
}

bool PieceReader::nextKept(std::string_view& piece, std::string& error) {
    if (!kept_.reserveMore(pieceSize_)) {
        error = readFailure(ENOMEM);
        return false;
    }
    std::size_t got = 0;
    if (const int failure = readFully(fd_, kept_.freeSpace(), pieceSize_, got); failure != 0) {
        error = readFailure(failure);
        return false;
    }
    kept_.commit(got);
    piece = kept_.view().substr(keptOffset_, got);
    keptOffset_ += got;
    return true;
}

bool PieceReader::again(std::size_t index, std::size_t size, std::string_view& piece, std::string& error) {
    const std::uint64_t offset = std::uint64_t{index} * pieceSize_;
    if (!fileStart_) {
        piece = kept_.view().substr(static_cast<std::size_t>(offset), size);
        return true;
    }
#ifndef _WIN32
    std::size_t got = 0;
    if (const int failure = readFullyAt(fd_, *fileStart_ + offset, piece_.get(), size, got); failure != 0) {
        error = readFailure(failure);
        return false;
    }
    if (got != size) {
        error = name_ + " changed while it was read";
        return false;
    }
    piece = {piece_.get(), got};
#else
    (void)error;  // every input is kept there
#endif
    return true;
}

std::string PieceReader::readFailure(int error) const {
    return withSystemReason("cannot read " + name_, error);
}

}  // namespace orvelin::cli
