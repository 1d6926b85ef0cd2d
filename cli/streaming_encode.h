#pragma once
// Encoding an input of any size in pieces, writing each piece's groups as
// they are made, so that neither the whole input (where it can be read again)
// nor the whole result is ever held.

#include "cli/piece_reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvelin::cli {

// Input characters per piece: a whole number of position periods (390) and
// of the vector kernel's 16-character blocks, about 128 KiB, so that a piece
// and its groups stay in the processor's cache between being read, coded and
// written (measured: 1 MiB pieces take a third longer).
constexpr std::size_t kEncodePieceSize = 390 * 16 * 21;

// Encodes what `input` gives and writes it to `outputPath` (none: standard
// output). A refused text or code is reported before anything is written.
// Returns the exit status.
int encodeStreaming(PieceReader& input, std::string_view code,
                    const std::optional<std::string>& outputPath);

}  // namespace orvelin::cli
