#pragma once

#include <string>

// The run's log file: named by the UTC date and time of the start
// ("2008-05-05 14-03-59.log") in the scratch folder's "log" folder. Once
// registered, every logLine() of the process is appended to it, and its path
// is published as the setting "qpx/cdgfilename" so that tools can find it.
class Logger {
public:
    Logger(int flag, int level);
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Sets the file name once (a second call keeps the first) and creates the folder.
    void openLogFile();
    const std::string& getFileName() const { return fileName; }
    int getLevel() const { return level; }
    int getFlag() const { return flag; }

    // The name for a start at `unixSeconds` (UTC).
    static std::string fileNameFor(long long unixSeconds);

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
