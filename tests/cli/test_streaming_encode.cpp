// orvelin-codec encodes in pieces: whatever the input's size and kind, the
// result must be the codec's whole-text encoding byte for byte, including the
// check part, whose middle body byte usually lies in a piece written long
// before.

#include "cli/streaming_encode.h"
#include "codec/codec.h"
#include "companion_process.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using orvelin::cli::kEncodePieceSize;
using orvelin::testing::Invocation;
using orvelin::testing::Outcome;
using orvelin::testing::readFile;
using orvelin::testing::runCompanion;
using orvelin::testing::ScratchDir;

namespace {

const std::string kCode = "secret7";

std::string varied(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    return bytes;
}

std::string encodedByCodec(const std::string& text) {
    std::string out;
    EXPECT_EQ(orvelin::codec::encode(text, kCode, out), orvelin::codec::Outcome::Ok);
    return out;
}

std::string quoted(const std::string& word) { return "'" + word + "'"; }

// Runs a shell script with the program as $0 and the code file as $1.
int runInShell(const ScratchDir& dir, const std::string& script) {
    const std::string codeFile = dir.write("code.txt", kCode);
    const std::string command =
        "sh -c " + quoted(script) + " " + quoted(orvelin::testing::companionPath()) + " " + quoted(codeFile);
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

enum class Input { NamedFile, StandardInputFile, StandardInputPipe };
enum class Output { StandardOutput, NamedFile };

}  // namespace

TEST(StreamingEncode, GivesTheWholeTextsEncodingForAnySizeInputAndOutput) {
    const std::size_t piece = kEncodePieceSize;
    const std::size_t sizes[] = {1, piece - 1, piece, piece + 1, 2 * piece, 5 * piece + 790};
    ScratchDir dir;
    for (const std::size_t size : sizes) {
        const std::string text = varied(size, static_cast<std::uint32_t>(size));
        const std::string expected = encodedByCodec(text);
        const std::string plain = dir.write("plain.bin", text);
        for (const Input input : {Input::NamedFile, Input::StandardInputFile, Input::StandardInputPipe}) {
            for (const Output output : {Output::StandardOutput, Output::NamedFile}) {
                SCOPED_TRACE("size " + std::to_string(size) + ", input " + std::to_string(int(input)) +
                             ", output " + std::to_string(int(output)));
                Invocation run{{"encode"}, kCode, input == Input::NamedFile ? "" : text};
                if (input == Input::NamedFile) run.args.push_back(plain);
                run.inputThroughPipe = input == Input::StandardInputPipe;
                const std::string result = dir.path("result.orv");
                if (output == Output::NamedFile) run.args.insert(run.args.end(), {"-o", result});

                const Outcome outcome = runCompanion(run);
                ASSERT_EQ(outcome.status, 0) << outcome.err;
                ASSERT_TRUE((output == Output::NamedFile ? readFile(result) : outcome.out) == expected);
            }
        }
    }
}

// Pieces are read again from where the input began, not from the file's
// start: here the shell has read the first line before the program starts.
TEST(StreamingEncode, StandardInputMayStartPartWayIntoAFile) {
    ScratchDir dir;
    const std::string rest = varied(2 * kEncodePieceSize + 100, 3);
    const std::string plain = dir.write("plain.bin", "skipped line\n" + rest);
    const std::string out = dir.path("out.orv");
    const int status =
        runInShell(dir, "{ read -r line; \"$0\" encode --code-file \"$1\"; } < " + plain + " > " + out);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(readFile(out) == encodedByCodec(rest));
}

// Reading while writing would read the result back in when standard output
// appends to the input file, and never end.
TEST(StreamingEncode, AppendingToTheInputFileEncodesTheInputAsItWas) {
    ScratchDir dir;
    const std::string text = varied(2 * kEncodePieceSize + 100, 4);
    const std::string file = dir.write("grows.bin", text);
    // A size limit ends a run that would feed on itself.
    const int status = runInShell(dir, "ulimit -f 20000; \"$0\" encode --code-file \"$1\" " + file + " >> " + file);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(readFile(file) == text + encodedByCodec(text));
}
