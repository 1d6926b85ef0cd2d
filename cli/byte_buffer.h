#pragma once
// A growable block of raw bytes. Unlike std::string it neither zero-fills
// what it reserves nor copies on growth where realloc can remap, which keeps
// reading a large input linear and cheap.

#include <cstddef>
#include <string_view>

namespace orvelin::cli {

class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    // Makes room for at least `extra` more bytes after the used ones; false
    // when memory runs out.
    bool reserveMore(std::size_t extra);

    char* freeSpace() { return data_ + size_; }
    std::size_t freeSize() const { return capacity_ - size_; }
    void commit(std::size_t count) { size_ += count; }

    std::string_view view() const { return {data_, size_}; }
    std::size_t size() const { return size_; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace orvelin::cli
