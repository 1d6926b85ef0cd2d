#pragma once
// The checks both directions make before any coding, in their order.

#include "codec/codec.h"

#include <string_view>

namespace orvelin::codec {

// Ok, or the first rejection that applies: an empty text, then a code of
// the wrong length.
Outcome checkInput(std::string_view text, std::string_view code);

}  // namespace orvelin::codec
