#pragma once
// A Windows file handle that closes itself, so no early return leaks one.
#ifdef _WIN32

#include <windows.h>

namespace orvelin::platform::files {

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~UniqueHandle() { close(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    // Closes now and says whether the system took the close without error.
    bool close() {
        if (!valid()) return true;
        const bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

}  // namespace orvelin::platform::files

#endif
