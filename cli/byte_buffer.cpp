#include "cli/byte_buffer.h"

#include "cli/memory_advice.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace orvelin::cli {

ByteBuffer::~ByteBuffer() { std::free(data_); }

bool ByteBuffer::reserveMore(std::size_t extra) {
    if (capacity_ - size_ >= extra) return true;
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    if (extra > kMax - size_) return false;
    // Doubling keeps the total copying linear in the final size; a larger
    // request (a file of known size) gets exactly what it asks for.
    std::size_t wanted = capacity_ > kMax / 2 ? kMax : std::max<std::size_t>(capacity_ * 2, 4096);
    if (wanted - size_ < extra) wanted = size_ + extra;
    void* grown = std::realloc(data_, wanted);
    if (grown == nullptr) return false;
    data_ = static_cast<char*>(grown);
    capacity_ = wanted;
    preferHugePages(data_, capacity_);
    return true;
}

}  // namespace orvelin::cli
