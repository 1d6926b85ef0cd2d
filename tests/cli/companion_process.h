#pragma once
// Runs the built orvelin-codec as a separate process, the way a shell would,
// and captures what it leaves behind. The child gets a session of its own, so
// it has no controlling terminal and can never stop to ask for a code.

#include <optional>
#include <string>
#include <vector>

namespace orvelin::testing {

// A scratch folder removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string path(const std::string& name) const { return path_ + "/" + name; }
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

std::string readFile(const std::string& path);

struct Invocation {
    std::vector<std::string> args;          // after the program name
    std::optional<std::string> codeInEnv;   // ORVELIN_CODE; unset when empty
    std::string input;                      // standard input
    bool inputThroughPipe = false;          // else a regular file
};

struct Outcome {
    int status = -1;  // the exit status, or 128 + signal
    std::string out;
    std::string err;
};

// The path of the program under test, from the test's command line.
void setCompanionPath(std::string path);
const std::string& companionPath();

Outcome runCompanion(const Invocation& invocation);

}  // namespace orvelin::testing
