// The entry of the companion's tests: the program under test is named on the
// command line (CTest passes the built target's path).

#include "companion_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-orvelin-codec\n", argv[0]);
        return 2;
    }
    orvelin::testing::setCompanionPath(argv[1]);
    // A child that exits before reading all its input must not end the test.
    std::signal(SIGPIPE, SIG_IGN);
    return RUN_ALL_TESTS();
}
