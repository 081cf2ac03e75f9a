#pragma once

#include <cstddef>
#include <string>

// The run's log file: named by the UTC date and time of the start
// ("2008-05-05 14-03-59.log", "2008-05-05 14-03-59_2.log" for a second start
// in the same second) in the scratch folder's "log" folder. Only the newest
// kKeptLogFiles logs are kept. Once
// registered, every logLine() of the process is appended to it, and its path
// is published as the setting "qpx/cdgfilename" so that tools can find it.
class Logger {
public:
    static constexpr size_t kKeptLogFiles = 10;

    Logger(int flag, int level);
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Sets the file name once (a second call keeps the first), creates the
    // folder and the file (a name no other start has taken) and prunes the
    // older logs.
    void openLogFile();
    const std::string& getFileName() const { return fileName; }
    int getLevel() const { return level; }
    int getFlag() const { return flag; }

    // The name for a start at `unixSeconds` (UTC).
    static std::string fileNameFor(long long unixSeconds);
    // The same for the `attempt`th start in that second (1 is the first).
    static std::string fileNameFor(long long unixSeconds, int attempt);
    // Removes the oldest start logs of `folder` beyond the newest `kept`
    // (only files named as fileNameFor names them).
    static void pruneLogFolder(const std::string& folder, size_t kept);

private:
    int level;
    int flag;
    std::string fileName;
};

// The process-wide logger, built on the first call with these values.
Logger& getLogger(int flag, int level);
// getLogger(0, 2), openLogFile(), start writing lines to the file and store
// its path in the settings. Returns the path (empty when nothing could be opened).
std::string registerLogFile();
