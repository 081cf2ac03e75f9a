#pragma once

#include <string>
#include <vector>

// Keeps one copy of a game running per data folder: an exclusive lock on a
// file in that folder, and beside it a small local socket on which the
// running copy hears a second copy's request to raise its window. Both live
// with the data rather than in $XDG_RUNTIME_DIR: two copies given different
// runtime folders but one data folder would otherwise both run, and the one
// that quits last would write over the other's progress.
class SingleInstanceLock {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    // `name` names the lock (the game's name); `dataFolder` is the folder
    // whose files the lock guards (empty: the maker's folder under the data home).
    explicit SingleInstanceLock(std::string name, std::string dataFolder = std::string());
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

    // A connection to the running copy's socket with nothing sent yet (the
    // caller owns and closes it), or -1 when no copy listens. A folder whose
    // socket path is too long for a socket address is reached under a name
    // derived from its real path, so this is the one way to find the socket.
    int connectToRunningCopy() const;

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

    std::string lockName;
    std::string lockPath;
    std::string socketPath;
    // The socket file the listener made (empty under the abstract namespace).
    std::string boundSocketFile;
    int lockDescriptor = -1;
    int listenerDescriptor = -1;
    std::vector<PendingClient> pending;
    unsigned callCount = 0;
};
