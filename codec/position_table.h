#pragma once
// The position term plus the digest for one period of positions, with a
// little repeat at the end so that a vector load starting anywhere in the
// period stays inside the table.

#include "codec/format.h"

#include <cstddef>
#include <cstdint>

namespace orvelin::codec {

constexpr std::size_t kPositionTableSlack = 32;

struct PositionTable {
    explicit PositionTable(std::int32_t digest) {
        for (std::size_t j = 0; j < format::kPositionPeriod + kPositionTableSlack; ++j)
            values[j] = format::positionTerm(j % format::kPositionPeriod) + digest;
    }
    alignas(64) std::int32_t values[format::kPositionPeriod + kPositionTableSlack];
};

inline std::size_t advancePeriod(std::size_t period, std::size_t steps) {
    period += steps;
    return period >= format::kPositionPeriod ? period - format::kPositionPeriod : period;
}

}  // namespace orvelin::codec
