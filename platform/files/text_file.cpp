// The operating system's access test, as the file commands ask it. A failed
// test is a "no", whatever the reason.
#include "platform/files/text_file.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace orvelin::platform::files {

namespace {

#ifdef _WIN32
constexpr int kExists = 0;
constexpr int kRead = 4;
constexpr int kWrite = 2;

bool accessAllows(const std::string& path, int mode) { return _access(path.c_str(), mode) == 0; }
#else
constexpr int kExists = F_OK;
constexpr int kRead = R_OK;
constexpr int kWrite = W_OK;

bool accessAllows(const std::string& path, int mode) { return ::access(path.c_str(), mode) == 0; }
#endif

}  // namespace

bool exists(const std::string& path) { return accessAllows(path, kExists); }
bool mayRead(const std::string& path) { return accessAllows(path, kRead); }
bool mayWrite(const std::string& path) { return accessAllows(path, kWrite); }

}  // namespace orvelin::platform::files
