#pragma once

#include <string>
#include <vector>

// Keeps one copy of a game running per user: an exclusive lock on a file in
// $XDG_RUNTIME_DIR (or a fallback folder), and beside it a small local socket
// on which the running copy hears a second copy's request to raise its window.
class SingleInstanceLock {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    // `name` names the lock (the game's name); `fallbackFolder` is used when
    // there is no runtime folder (empty: the maker's folder under the data home).
    explicit SingleInstanceLock(std::string name, std::string fallbackFolder = std::string());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    Result acquire();
    bool isHeld() const { return lockDescriptor >= 0; }
    void release();

    // For a second copy: asks the running one to restore and raise its
    // window. True when the request was delivered.
    bool requestRaise();
    // For the running copy: true when at least one raise request arrived
    // since the last call. Never blocks: a caller that connected but has not
    // written yet is kept and read on a later call (and dropped after a while).
    bool takeRaiseRequest();

    const std::string& getLockPath() const { return lockPath; }
    const std::string& getSocketPath() const { return socketPath; }

private:
    void openListener();
    void closePending();

    // A connection accepted but not yet read, with the call count it came in.
    struct PendingClient {
        int descriptor;
        unsigned acceptedAtCall;
    };

    std::string lockPath;
    std::string socketPath;
    int lockDescriptor = -1;
    int listenerDescriptor = -1;
    std::vector<PendingClient> pending;
    unsigned callCount = 0;
};
