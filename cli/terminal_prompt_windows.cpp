#include "cli/terminal_prompt.h"

#include "cli/raw_io.h"

#include <windows.h>

#include <cerrno>

namespace orvelin::cli {
namespace {

// Longer than any code; stops a runaway line from growing without bound.
constexpr std::size_t kLongestLine = 4096;

// What the interrupt handler needs to give the console its echo back.
HANDLE gConsole = INVALID_HANDLE_VALUE;
DWORD gSavedMode = 0;

BOOL WINAPI restoreOnInterrupt(DWORD) {
    SetConsoleMode(gConsole, gSavedMode);
    return FALSE;  // the default handler still ends the program
}

// Echo stays off only for the read, and comes back on Ctrl+C or Ctrl+Break.
class EchoOff {
public:
    explicit EchoOff(HANDLE console) : console_(console) {
        if (!GetConsoleMode(console_, &gSavedMode)) return;
        gConsole = console_;
        SetConsoleCtrlHandler(restoreOnInterrupt, TRUE);
        const DWORD quiet = (gSavedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) |
                            ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT;
        active_ = SetConsoleMode(console_, quiet) != 0;
    }
    ~EchoOff() {
        if (gConsole == INVALID_HANDLE_VALUE) return;
        SetConsoleMode(console_, gSavedMode);
        SetConsoleCtrlHandler(restoreOnInterrupt, FALSE);
        gConsole = INVALID_HANDLE_VALUE;
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

    bool active() const { return active_; }

private:
    HANDLE console_;
    bool active_ = false;
};

// Reads up to the line break as UTF-16, as the console gives it.
bool readLine(HANDLE console, std::wstring& line) {
    line.clear();
    wchar_t ch = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadConsoleW(console, &ch, 1, &got, nullptr)) return false;
        if (got == 0 || ch == L'\n') break;
        if (line.size() < kLongestLine) line += ch;
    }
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    return true;
}

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

}  // namespace

PromptResult readHiddenLine(const char* prompt, std::string& line) {
    const HANDLE console = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return PromptResult::NoTerminal;
    bool read = false;
    {
        EchoOff echoOff(console);
        if (echoOff.active()) {
            writeAll(2, prompt);
            std::wstring typed;
            read = readLine(console, typed);
            writeAll(2, "\n");  // the user's Enter was not echoed
            if (read) line = toUtf8(typed);
        }
    }
    CloseHandle(console);
    if (read) return PromptResult::Ok;
    errno = EIO;
    return PromptResult::Failed;
}

}  // namespace orvelin::cli
