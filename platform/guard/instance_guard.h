#pragma once
// One running copy per user logon session, marked by a name every copy knows.
// No Qt here: the companion's Windows build uses it too.

#include <string>

namespace orvelin::platform {

constexpr const char* kInstanceName = "some_bigest_umn";

class InstanceGuard {
public:
    enum class State {
        Acquired,        // we are the only copy; held until release()
        AlreadyRunning,  // another copy holds it: end at once, silently
        Unavailable,     // the guard could not be set up; run without it
    };

    // On Linux, `runtimeDir` is the per-user folder that holds the lock file
    // (unused on Windows, where a named mutex does the job).
    explicit InstanceGuard(const std::string& runtimeDir, const std::string& name = kInstanceName);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // How setting the guard up went; release() does not change it.
    State state() const { return state_; }
    void release();

private:
    State state_ = State::Unavailable;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace orvelin::platform
