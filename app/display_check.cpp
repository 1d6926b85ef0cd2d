#include "display_check.h"

#include <cstdlib>
#include <cstring>

namespace orvelin::app {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

bool platformChosenOnCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
    return false;
}

}  // namespace

bool displayAvailable(int argc, char** argv) {
#if defined(__linux__)
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM") ||
           platformChosenOnCommandLine(argc, argv);
#else
    (void)argc;
    (void)argv;
    return true;
#endif
}

const char* noDisplayMessage() {
    return "orvelin: no display found (DISPLAY and WAYLAND_DISPLAY are not set); start it from a desktop "
           "session, or under a virtual display: xvfb-run -a orvelin\n";
}

}  // namespace orvelin::app
