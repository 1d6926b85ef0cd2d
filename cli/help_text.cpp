#include "cli/help_text.h"

namespace orvelin::cli {

const char* helpText() {
    return R"(Usage: orvelin-codec encode|decode [FILE] [-o OUT] [--code-file PATH]

Encodes or decodes FILE (standard input when FILE is absent or "-") with a
session code, byte for byte as Orvelin's window does, and writes the result to
standard output, or with -o OUT (--output OUT) to OUT, which is replaced whole
and never left half-written.

Every byte is coded as given, zero bytes and bare line feeds included. The
window's editor differs: it holds a text only up to its first zero byte, and
opening a file there turns each lone CR or LF into CR LF.

The session code (6 to 10 characters, UTF-8, all of them in Windows-1251) is
never taken from the command line. The first of these that is there is used:
  --code-file PATH   the first line of PATH, without its "\n" or "\r\n"
  ORVELIN_CODE       the environment variable (even when set but empty)
  the terminal       asked for without echo (/dev/tty, or the console)

Exit status: 0 done; 1 the codec refused the text or the code (its message is
printed and nothing is written); 2 a usage, session code or file error.
)";
}

}  // namespace orvelin::cli
