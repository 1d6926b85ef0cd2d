#include "cli/streaming_encode.h"

#include "cli/diagnostics.h"
#include "cli/exit_status.h"
#include "cli/output_sink.h"
#include "codec/body_encoder.h"
#include "codec/input_check.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace orvelin::cli {
namespace {

const unsigned char* bytesOf(std::string_view piece) {
    return reinterpret_cast<const unsigned char*>(piece.data());
}

// What the check part needs of a body that has gone out already: where
// each piece's groups start in it, its length and its first byte.
struct WrittenBody {
    std::vector<std::uint64_t> pieceStarts;
    std::uint64_t length = 0;
    unsigned char first = 0;
};

// One piece's groups, kept until the next piece replaces them: the middle
// byte is often in the last piece, which then needs no second coding.
class Groups {
public:
    Groups() : bytes_(new unsigned char[4 * kEncodePieceSize]) {}

    std::string_view encode(const codec::BodyEncoder& encoder, std::string_view piece, std::uint64_t position) {
        size_ = encoder.encodeBody(bytesOf(piece), piece.size(), static_cast<std::size_t>(position), bytes_.get());
        return {reinterpret_cast<const char*>(bytes_.get()), size_};
    }
    unsigned char at(std::size_t offset) const { return bytes_[offset]; }

private:
    std::unique_ptr<unsigned char[]> bytes_;
    std::size_t size_ = 0;
};

// Codes and writes `piece` and every piece after it.
bool writeBody(PieceReader& input, std::string_view piece, const codec::BodyEncoder& encoder, Groups& groups,
               ResultSink& sink, WrittenBody& body, std::string& error) {
    for (std::uint64_t position = 0; !piece.empty();) {
        const std::string_view coded = groups.encode(encoder, piece, position);
        if (body.length == 0) body.first = groups.at(0);
        body.pieceStarts.push_back(body.length);
        body.length += coded.size();
        position += piece.size();
        if (!sink.write(coded, error) || !input.next(piece, error)) return false;
    }
    return true;
}

// The body byte at (body length) div 2, from the piece that holds it, coded
// again unless it is the last one. Coded again it must come out as long as
// before, or the input changed under us.
bool middleByte(PieceReader& input, const codec::BodyEncoder& encoder, const WrittenBody& body, Groups& groups,
                unsigned char& middle, std::string& error) {
    const std::uint64_t offset = body.length / 2;
    const auto& starts = body.pieceStarts;
    const auto index = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin() - 1);
    if (index + 1 < starts.size()) {
        std::string_view piece;
        if (!input.again(index, kEncodePieceSize, piece, error)) return false;
        const std::string_view coded = groups.encode(encoder, piece, std::uint64_t{index} * kEncodePieceSize);
        if (coded.size() != starts[index + 1] - starts[index]) {
            error = input.name() + " changed while it was read";
            return false;
        }
    }
    middle = groups.at(static_cast<std::size_t>(offset - starts[index]));
    return true;
}

bool writeCheckPart(const codec::BodyEncoder& encoder, unsigned char first, unsigned char middle, ResultSink& sink,
                    std::string& error) {
    unsigned char part[codec::BodyEncoder::kMaxCheckPartSize];
    const std::size_t size = encoder.appendCheckPart(first, middle, part);
    return sink.write({reinterpret_cast<const char*>(part), size}, error);
}

// Everything after the checks: the body, the check part, and the result put
// in place.
bool encodeAndWrite(PieceReader& input, std::string_view firstPiece, std::string_view code, ResultSink& sink,
                    std::string& error) {
    const codec::BodyEncoder encoder(code);
    Groups groups;
    WrittenBody body;
    unsigned char middle = 0;
    return writeBody(input, firstPiece, encoder, groups, sink, body, error) &&
           middleByte(input, encoder, body, groups, middle, error) &&
           writeCheckPart(encoder, body.first, middle, sink, error) && sink.finish(error);
}

}  // namespace

int encodeStreaming(PieceReader& input, std::string_view code, const std::optional<std::string>& outputPath) {
    std::string error;
    std::string_view firstPiece;
    if (!input.next(firstPiece, error)) return report(kFailure, error);
    // An empty input is refused as the codec refuses it: its first piece is
    // empty.
    if (const codec::Outcome outcome = codec::checkInput(firstPiece, code); outcome != codec::Outcome::Ok)
        return report(kRejected, codec::rejectionFor(outcome).text);
    ResultSink sink;
    if (!sink.open(outputPath, error)) return report(kFailure, error);
    try {
        if (!encodeAndWrite(input, firstPiece, code, sink, error)) return report(kFailure, error);
    } catch (const std::bad_alloc&) {
        return report(kFailure, "not enough memory to encode " + input.name());
    }
    return kSuccess;
}

}  // namespace orvelin::cli
