#pragma once
// Every pair value written out in advance: the two to four characters it
// becomes and how many there are. Built once per digest parity, on first use.

#include "codec/format.h"

#include <cstdint>

namespace orvelin::codec {

struct GroupTable {
    // The group's characters, the first in the lowest byte; unused bytes 0.
    std::uint32_t bytes[format::kMaxPairValue + 1];
    std::uint8_t length[format::kMaxPairValue + 1];
};

// With an even digest the remainder is written first, with an odd one the
// quotient.
const GroupTable& groupTable(bool oddDigest);

}  // namespace orvelin::codec
