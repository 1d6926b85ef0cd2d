#include "cli/companion.h"

#include "cli/byte_buffer.h"
#include "cli/command_line.h"
#include "cli/diagnostics.h"
#include "cli/exit_status.h"
#include "cli/help_text.h"
#include "cli/input_source.h"
#include "cli/memory_advice.h"
#include "cli/output_sink.h"
#include "cli/piece_reader.h"
#include "cli/raw_io.h"
#include "cli/session_code.h"
#include "cli/streaming_encode.h"
#include "codec/codec.h"

#include <unistd.h>

#include <new>
#include <string>

namespace orvelin::cli {
namespace {

int usageError(const std::string& message) {
    return report(kFailure, message + "\nTry 'orvelin-codec --help'.");
}

int showHelp() {
    if (const int failure = writeAll(STDOUT_FILENO, helpText()); failure != 0) {
        return report(kFailure, withSystemReason("cannot write standard output", failure));
    }
    return kSuccess;
}

// Room for the longest result the codec can give, so that it writes into one
// buffer of ours, which can be backed by huge pages.
void prepareResultBuffer(Direction direction, std::size_t inputSize, std::string& result) {
    const std::size_t longest = direction == Direction::Encode ? codec::maxEncodedSize(inputSize)
                                                               : inputSize / 2 + 2;
    result.reserve(longest);
    preferHugePages(result.data(), result.capacity());
}

codec::Outcome applyCodec(Direction direction, std::string_view text, std::string_view code,
                          std::string& result) {
    prepareResultBuffer(direction, text.size(), result);
    return direction == Direction::Encode ? codec::encode(text, code, result)
                                          : codec::decode(text, code, result);
}

// Codes the text and hands the result on; a refused text leaves the output
// as it was: nothing is written.
int codeAndWrite(const Request& request, std::string_view text, std::string_view code) {
    std::string result;
    codec::Outcome outcome = codec::Outcome::Ok;
    try {
        outcome = applyCodec(request.direction, text, code, result);
    } catch (const std::bad_alloc&) {
        return report(kFailure, "not enough memory to code " + std::to_string(text.size()) + " bytes");
    }
    if (outcome != codec::Outcome::Ok) return report(kRejected, codec::rejectionFor(outcome).text);
    std::string error;
    if (!writeResult(request.outputPath, result, error)) return report(kFailure, error);
    return kSuccess;
}

// Encoding goes piece by piece, reading while it writes. Standard output
// appending to the input file itself would then feed the result back in, so
// there the whole input is read first.
bool encodesInPieces(const Request& request, const InputSource& input) {
    return request.direction == Direction::Encode &&
           (request.outputPath || !sameRegularFile(input.descriptor(), STDOUT_FILENO));
}

// The input is opened before the code is asked for, so that a wrong path
// fails at once, and read after it, so that a terminal is asked first.
int gatherAndCode(const Request& request) {
    std::string error;
    InputSource input;
    if (!input.open(request.inputPath, error)) return report(kFailure, error);
    std::string code;
    if (!obtainSessionCode(request.codeFilePath, code, error)) return report(kFailure, error);
    if (encodesInPieces(request, input)) {
        PieceReader pieces(input.descriptor(), input.name(), kEncodePieceSize);
        return encodeStreaming(pieces, code, request.outputPath);
    }
    ByteBuffer text;
    if (!input.readAll(text, error)) return report(kFailure, error);
    return codeAndWrite(request, text.view(), code);
}

}  // namespace

int runCompanion(int argc, const char* const* argv) {
    useBinaryStandardStreams();
    Request request;
    std::string error;
    if (!parseCommandLine(argc, argv, request, error)) return usageError(error);
    if (request.help) return showHelp();
    return gatherAndCode(request);
}

}  // namespace orvelin::cli
