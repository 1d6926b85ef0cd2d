// orvelin-codec as a whole process: what it writes, where, and its exit
// status. The expected encodings come from the codec called directly, so the
// companion is held to byte-compatibility with the window.

#include "codec/codec.h"
#include "companion_process.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using orvelin::testing::Invocation;
using orvelin::testing::Outcome;
using orvelin::testing::readFile;
using orvelin::testing::runCompanion;
using orvelin::testing::ScratchDir;
namespace codec = orvelin::codec;

namespace {

const std::string kCode = "secret7";
// Typed in UTF-8; the window's field holds it in Windows-1251.
const std::string kCyrillicCode = "пароль1";
const std::string kCyrillicCodeBytes = "\xEF\xE0\xF0\xEE\xEB\xFC" "1";

const std::string kEmptyText = "Нет данных, которые нужно кодировать";
const std::string kBadLength = "Пароль должен быть по длине не меньше 6 и не больше 10";
const std::string kNotEncoded =
    "Текст не является закодированным либо код испорчен.\nДекодирование не возможно!";

std::string allByteValues(int rounds) {
    std::string bytes;
    for (int r = 0; r < rounds; ++r) {
        for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    }
    return bytes;
}

std::string varied(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string encodedByCodec(const std::string& text, const std::string& code) {
    std::string out;
    EXPECT_EQ(codec::encode(text, code, out), codec::Outcome::Ok);
    return out;
}

class Companion : public ::testing::Test {
protected:
    ScratchDir dir;
};

}  // namespace

TEST_F(Companion, EveryByteValueSurvivesARoundTrip) {
    const std::string text = allByteValues(3);  // zero bytes included
    const std::string plain = dir.write("plain.bin", text);

    const Outcome encoded = runCompanion({{"encode", plain}, kCode, ""});
    ASSERT_EQ(encoded.status, 0) << encoded.err;
    EXPECT_EQ(encoded.err, "");
    EXPECT_EQ(encoded.out, encodedByCodec(text, kCode));

    const std::string restored = dir.path("restored.bin");
    const Outcome decoded = runCompanion({{"decode", "-o", restored}, kCode, encoded.out});
    ASSERT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(decoded.out, "");
    EXPECT_EQ(readFile(restored), text);
}

TEST_F(Companion, CodesAFileInPlace) {
    const std::string text = "in place\r\n";
    const std::string file = dir.write("note.txt", text);

    const Outcome run = runCompanion({{"encode", file, "-o", file}, kCode, ""});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(file), encodedByCodec(text, kCode));
}

TEST_F(Companion, InputFromAPipeIsReadWhole) {
    // Larger than one read of a pipe, so the input buffer has to grow.
    const std::string text = varied(3 * 1024 * 1024 + 17);
    Invocation piped{{"encode"}, kCode, text};
    piped.inputThroughPipe = true;

    const Outcome encoded = runCompanion(piped);
    ASSERT_EQ(encoded.status, 0) << encoded.err;
    EXPECT_TRUE(encoded.out == encodedByCodec(text, kCode));
}

TEST_F(Companion, TakesTheCodeAsTheWindowsFieldWouldHoldIt) {
    const std::string text = "Проверка связи\r\nline two";
    const std::string expected = encodedByCodec(text, kCyrillicCodeBytes);
    const std::string otherCode = "1234567";
    ASSERT_NE(encodedByCodec(text, otherCode), expected) << "the two codes must differ in effect";

    const struct {
        const char* source;
        std::optional<std::string> codeFile;
        std::optional<std::string> environment;
    } cases[] = {
        {"environment", std::nullopt, kCyrillicCode},
        {"code file, LF", kCyrillicCode + "\n", std::nullopt},
        {"code file, CRLF", kCyrillicCode + "\r\n", std::nullopt},
        {"code file, no line break", kCyrillicCode, std::nullopt},
        {"code file, more lines", kCyrillicCode + "\r\n" + otherCode + "\n", std::nullopt},
        {"code file with a byte order mark", "\xEF\xBB\xBF" + kCyrillicCode + "\r\n", std::nullopt},
        {"code file wins over the environment", kCyrillicCode + "\n", otherCode},
    };
    const std::string plain = dir.write("plain.txt", text);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        std::vector<std::string> args{"encode", plain};
        if (c.codeFile) {
            args.push_back("--code-file");
            args.push_back(dir.write("code.txt", *c.codeFile));
        }
        const Outcome run = runCompanion({args, c.environment, ""});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expected);
    }
}

TEST_F(Companion, RejectionPrintsTheCodecsMessageAndWritesNothing) {
    const struct {
        const char* command;
        std::string text;
        std::string code;
        std::string message;
    } cases[] = {
        {"encode", "", kCode, kEmptyText},
        {"decode", "", kCode, kEmptyText},
        {"encode", "some text", "12345", kBadLength},
        {"decode", "some text", "12345678901", kBadLength},
        {"encode", "some text", "", kBadLength},
        {"decode", "Hello", kCode, kNotEncoded},  // fails the check character
    };
    const std::string precious = "kept as it was\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " \"" + c.text + "\" with \"" + c.code + "\"");

        const Outcome toStdout = runCompanion({{c.command}, c.code, c.text});
        EXPECT_EQ(toStdout.status, 1);
        EXPECT_EQ(toStdout.out, "");
        EXPECT_NE(toStdout.err.find(c.message), std::string::npos) << toStdout.err;

        const std::string out = dir.write("existing.txt", precious);
        const Outcome toFile = runCompanion({{c.command, "-o", out}, c.code, c.text});
        EXPECT_EQ(toFile.status, 1);
        EXPECT_EQ(readFile(out), precious);
    }
}

TEST_F(Companion, UsageCodeAndFileErrorsExitWithTwo) {
    const std::string plain = dir.write("plain.txt", "some text");
    const std::string missing = dir.path("missing.txt");
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::optional<std::string> code;
        std::string inMessage;
    } cases[] = {
        {"missing input file", {"encode", missing}, kCode, missing + "': No such file or directory"},
        {"input is a folder", {"decode", dir.path("")}, kCode, "Is a directory"},
        {"missing code file", {"encode", plain, "--code-file", missing}, std::nullopt, "missing.txt"},
        {"code outside the code page", {"encode", plain}, "caf\xC3\xA9" "12", "Windows-1251"},
        {"code not UTF-8", {"encode", plain}, "\xC3(abcdef", "UTF-8"},
        {"no code and no terminal", {"encode", plain}, std::nullopt, "ORVELIN_CODE"},
        {"output folder missing", {"encode", plain, "-o", dir.path("none/out.txt")}, kCode, "out.txt"},
        {"unknown option", {"encode", "--frobnicate", plain}, kCode, "--frobnicate"},
        {"no command", {}, kCode, "encode or decode"},
        {"unknown command", {"scramble", plain}, kCode, "scramble"},
        {"two input files", {"encode", plain, plain}, kCode, "more than one"},
        {"output without a name", {"encode", plain, "-o"}, kCode, "-o"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome run = runCompanion({c.args, c.code, "standard input"});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.inMessage), std::string::npos) << run.err;
    }
}

TEST_F(Companion, HelpStatesWhereTheCodeComesFrom) {
    for (const auto& args : {std::vector<std::string>{"--help"},
                              std::vector<std::string>{"encode", "-x", "-h"}}) {
        const Outcome run = runCompanion({args, std::nullopt, ""});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find("--code-file"), std::string::npos);
        EXPECT_NE(run.out.find("ORVELIN_CODE"), std::string::npos);
        EXPECT_NE(run.out.find("zero bytes"), std::string::npos);
    }
}
