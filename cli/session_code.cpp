#include "cli/session_code.h"

#include "cli/diagnostics.h"
#include "cli/raw_io.h"
#include "cli/terminal_prompt.h"
#include "platform/codepage/cp1251.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace orvelin::cli {
namespace {

// Far longer than any code: a code file is read no further than this, so a
// mistaken path to a device or a huge file cannot hang the companion.
constexpr std::size_t kCodeFileReadLimit = 64 * 1024;

// Reads the file up to its first line break or the read limit; 0 or errno.
int readCodeFileHead(const std::string& path, std::string& head) {
    const int fd = openForReading(path);
    if (fd < 0) return errno;
    char chunk[4096];
    int failure = 0;
    while (head.size() < kCodeFileReadLimit && head.find('\n') == std::string::npos) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failure = errno;
        if (got <= 0) break;
        head.append(chunk, static_cast<std::size_t>(got));
    }
    close(fd);
    return failure;
}

// The first line of a code file without its line break ("\n" or "\r\n"),
// and without the byte order mark some editors put before UTF-8 text.
std::string codeLine(std::string_view contents) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (contents.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        contents.remove_prefix(kByteOrderMark.size());
    }
    std::string_view line = contents.substr(0, contents.find('\n'));
    if (line.size() < contents.size() && !line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return std::string(line);
}

bool codeFromFile(const std::string& path, std::string& utf8, std::string& error) {
    std::string head;
    if (const int failure = readCodeFileHead(path, head); failure != 0) {
        error = withSystemReason("cannot read the code file '" + path + "'", failure);
        return false;
    }
    if (head.find('\n') == std::string::npos && head.size() >= kCodeFileReadLimit) {
        error = "the first line of the code file '" + path + "' is too long to be a session code";
        return false;
    }
    utf8 = codeLine(head);
    return true;
}

bool codeFromTerminal(std::string& utf8, std::string& error) {
    switch (readHiddenLine("Session code: ", utf8)) {
    case PromptResult::Ok:
        return true;
    case PromptResult::NoTerminal:
        error = "no session code: set ORVELIN_CODE or give --code-file (there is no terminal to ask on)";
        return false;
    case PromptResult::Failed:
        break;
    }
    error = withSystemReason("cannot read the session code from the terminal", errno);
    return false;
}

bool codeAsUtf8(const std::optional<std::string>& codeFilePath, std::string& utf8,
                std::string& error) {
    if (codeFilePath) return codeFromFile(*codeFilePath, utf8, error);
    // Set but empty still counts: a script that sets it never meets a prompt.
    if (const char* fromEnvironment = std::getenv("ORVELIN_CODE")) {
        utf8 = fromEnvironment;
        return true;
    }
    return codeFromTerminal(utf8, error);
}

}  // namespace

bool obtainSessionCode(const std::optional<std::string>& codeFilePath, std::string& code,
                       std::string& error) {
    std::string utf8;
    if (!codeAsUtf8(codeFilePath, utf8, error)) return false;
    if (!cp1251::fromUtf8(utf8, code)) {
        error = "the session code is not valid UTF-8 or holds a character that Windows-1251 lacks";
        return false;
    }
    return true;
}

}  // namespace orvelin::cli
