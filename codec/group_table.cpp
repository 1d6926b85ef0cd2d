#include "codec/group_table.h"

#include <memory>

namespace orvelin::codec {

namespace {

struct Group {
    std::uint32_t bytes = 0;
    std::uint8_t length = 0;

    void put(int value) {
        bytes |= static_cast<std::uint32_t>(value) << (8 * length);
        ++length;
    }
    void putValue(int value, unsigned char prefix) {
        if (format::isEscaped(value)) {
            put(prefix);
            put(value + format::kEscapeShift);
        } else {
            put(value);
        }
    }
};

std::unique_ptr<GroupTable> buildGroupTable(bool oddDigest) {
    auto table = std::make_unique<GroupTable>();
    for (std::int32_t v = 0; v <= format::kMaxPairValue; ++v) {
        const int quotient = v / format::kPairBase;
        const int remainder = v % format::kPairBase;
        Group group;
        group.putValue(oddDigest ? quotient : remainder, format::kFirstPrefix);
        group.putValue(oddDigest ? remainder : quotient, format::kSecondPrefix);
        table->bytes[v] = group.bytes;
        table->length[v] = group.length;
    }
    return table;
}

}  // namespace

const GroupTable& groupTable(bool oddDigest) {
    // Each is built on its first use only, once per process.
    if (oddDigest) {
        static const std::unique_ptr<GroupTable> odd = buildGroupTable(true);
        return *odd;
    }
    static const std::unique_ptr<GroupTable> even = buildGroupTable(false);
    return *even;
}

}  // namespace orvelin::codec
