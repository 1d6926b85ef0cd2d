#pragma once
// The fuzz targets' bodies, shared by the libFuzzer entry points and the
// corpus replay runner.

#include <cstddef>
#include <cstdint>

namespace orvelin::fuzz {

// Decodes any text with any code: no crash, no read outside the text, and
// the same outcome and characters as the literal reference.
void decodeTarget(const std::uint8_t* data, std::size_t size);

// Encodes any text, decodes it again and expects the text back; the
// encoding must also match the literal reference.
void roundTripTarget(const std::uint8_t* data, std::size_t size);

}  // namespace orvelin::fuzz
